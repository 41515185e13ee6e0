#include "DemoBank.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <stdexcept>
#include <tuple>

#include "ParallelFor.h"
#include "SpeechAnalysis.h"
#include "SpeechTail.h"
#include "SungLevel.h"
#include "SyllableMarks.h"
#include "Upsample.h"
#include "render/synth/PitchNames.h"
#include "voicebank/NoteName.h"

namespace demobank {

namespace {

constexpr int kBankRate = 44100;
constexpr float kRatio1 = 0.5f;
constexpr int kA3Key = 58;  // 220 Hz; a higher note has a smaller key
constexpr const char* kFirstTone = "1";
// The analysis reads around each frame: the cut keeps this much speech
// before the first event and after the last one needed, and the room of the
// longest tail.
constexpr std::int64_t kLeadSamples = 4096;
constexpr std::int64_t kTrailSamples = 4096 + (kLongestTail + 2) * DemoBankMaker::kHop;

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<PhonemeEvent> untilPause(const std::vector<PhonemeEvent>& events)
{
    std::vector<PhonemeEvent> out;
    for (const PhonemeEvent& e : events) {
        if (e.name == "_|")
            break;
        out.push_back(e);
    }
    return out;
}

// The part of a recording from kLeadSamples before sample `from` (on a frame
// boundary) to kTrailSamples after sample `to`, with its events moved along.
struct Cut {
    std::vector<std::int16_t> samples;
    std::vector<PhonemeEvent> events;
};

Cut cut(const std::vector<std::int16_t>& samples, const std::vector<PhonemeEvent>& events, std::int64_t from,
        std::int64_t to)
{
    const auto size = static_cast<std::int64_t>(samples.size());
    const std::int64_t begin = std::clamp<std::int64_t>(from - kLeadSamples, 0, size) / DemoBankMaker::kHop *
                               DemoBankMaker::kHop;
    const std::int64_t end = std::clamp<std::int64_t>(to + kTrailSamples, begin, size);
    Cut c;
    c.samples.assign(samples.begin() + begin, samples.begin() + end);
    for (const PhonemeEvent& e : events)
        c.events.push_back({e.name, e.sample - begin});
    return c;
}

bool hasInitial(Halvoren::ISymbolMgr& symbols, const std::string& syllable)
{
    bool standsAlone = false;
    if (symbols.isFinal(syllable, standsAlone))
        return false;
    std::string initial, final;
    symbols.splitSyllable(syllable, initial, final);
    return !initial.empty();
}

// The frames first .. last of a vowel; one the detector read below what it
// resolves (a transition taken for a lower voice) becomes a copy of its
// nearest resolved neighbour before it (after it at the start).
std::vector<bankwriter::PlainFrame> vowelFrames(RecordFrameMaker& maker, const std::vector<std::int16_t>& samples,
                                              SpeechAnalysis& analysis, std::int32_t first, std::int32_t last,
                                              float voice)
{
    const std::vector<std::int32_t> bridged = unvoiceUnresolvable(analysis, first, last);
    std::vector<bankwriter::PlainFrame> frames = maker.frames(samples, analysis, first, last, voice);
    const auto isBridged = [&](std::int32_t i) { return std::binary_search(bridged.begin(), bridged.end(), i); };
    for (const std::int32_t i : bridged) {
        std::int32_t from = i - 1;
        while (from >= first && isBridged(from))
            --from;
        if (from < first)
            for (from = i + 1; from <= last && isBridged(from); ++from) {
            }
        if (from <= last && i - first < std::int32_t(frames.size()) && from - first < std::int32_t(frames.size()))
            frames[std::size_t(i - first)] = frames[std::size_t(from - first)];
    }
    return frames;
}

SyllableMarks marksOf(Halvoren::ISymbolMgr& symbols, const std::string& syllable,
                      const std::vector<PhonemeEvent>& events, const SpeechAnalysis& analysis)
{
    std::string initial, final;
    symbols.splitSyllable(syllable, initial, final);
    const bool nasal = endsWith(final, "n") || endsWith(final, "ng");
    return syllableMarks(syllable, events, hasInitial(symbols, syllable), nasal, analysis.voiced());
}

// The quietest a syllable's body may be sung at the top of its pitch's notes
// (as sungLevelDb reads it) after it is matched to the pitch below: 11 dB
// under the bank's median there, within the range table's span of the
// median of every note.
constexpr double kQuietestTopDb = -37.0;
// The highest note the bank sings well (the top of its range table).
constexpr const char* kHighestNote = "B5";
// Sung where its pitch meets the next (heldNote), a syllable's initial, and
// the next syllable's initial in a join, stay at most this far under the
// vowel before them: a singer sings a nasal, a lateral or a glide out.
constexpr double kJoinHoldDb = 12.0;
// And a vowel, with its coda, at most this far under its body until the
// next consonant begins (or the syllable's fade): a singer carries it on.
constexpr double kVowelCarryDb = 3.0;

// The pitch name nearest an f0 ("" for 0).
std::string pitchNameOf(float f0)
{
    if (!(f0 > 0.0f))
        return "";
    return keyIndexToPitchName(kA3Key - static_cast<int>(std::lround(12.0 * std::log2(f0 / 220.0))));
}

}  // namespace

DemoBankMaker::DemoBankMaker(LevelCalibration calibration, unsigned threads, std::vector<RecordingPitch> pitches)
    : calibration_(calibration), threads_(std::max(1u, threads)), pitches_(std::move(pitches)), heard_(pitches_.size()),
      levelsBelowNext_(pitches_.size()), raised_(pitches_.size())
{
    if (pitches_.empty())
        throw std::invalid_argument("a demo bank needs at least one recording pitch");
}

void DemoBankMaker::hearAll(std::size_t pitch, std::vector<std::string> words)
{
    Hearing& hearing = heard_.at(pitch);
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    std::erase_if(words, [&](const std::string& w) { return hearing.count(w) != 0; });
    // Speaking forks, so it runs while this is the only thread; the
    // resampling then runs on every thread.
    std::vector<SpokenWord> spoken = speakWords(words, threads_, pitches_[pitch].voiceFile);
    std::vector<Heard> heard(words.size());
    parallelFor(words.size(), threads_, [&](std::size_t i, unsigned) {
        Heard& h = heard[i];
        h.failure = std::move(spoken[i].failure);
        if (!h.failure.empty())
            return;
        try {
            h.speech = std::move(spoken[i].speech);
            if (h.speech.sampleRate * 2 != kBankRate)
                throw std::runtime_error("the speech synthesiser speaks \"" + words[i] + "\" at " +
                                         std::to_string(h.speech.sampleRate) + " Hz, not 22050 Hz");
            for (PhonemeEvent& e : h.speech.events)
                e.sample *= 2;
            h.samples = upsampleTwice(h.speech.samples);
            h.speech.samples = {};
        } catch (const std::runtime_error& e) {
            h.failure = e.what();
        }
    });
    for (std::size_t i = 0; i < words.size(); ++i)
        hearing.emplace(words[i], std::move(heard[i]));
}

const DemoBankMaker::Heard& DemoBankMaker::heard(const Hearing& hearing, const std::string& word)
{
    const Heard& h = hearing.at(word);
    if (!h.failure.empty())
        throw std::runtime_error(h.failure);
    return h;
}

bankwriter::SingingVoice DemoBankMaker::makeVoice(Workshop& w, const Hearing& hearing, const UnitRecord& unit) const
{
    const Heard& h = heard(hearing, unit.symbol + kFirstTone);
    const std::vector<PhonemeEvent> spoken = untilPause(h.speech.events);
    if (spoken.empty())
        throw std::runtime_error("the syllable \"" + unit.symbol + "\" has no phoneme events");
    const auto pause = std::find_if(h.speech.events.begin(), h.speech.events.end(),
                                    [](const PhonemeEvent& e) { return e.name == "_|"; });
    const std::int64_t end = pause == h.speech.events.end() ? std::int64_t(h.samples.size()) : pause->sample;
    const Cut c = cut(h.samples, h.speech.events, spoken.front().sample, end);
    SpeechAnalysis analysis = analyseSpeech(unit.symbol, c.samples);
    const SyllableMarks onset = onsetMarks(unit.symbol, c.events, hasInitial(w.symbols, unit.symbol));
    unvoiceUnresolvable(analysis, onset.beginPos, onset.endPos - 1);
    const SyllableMarks m = marksOf(w.symbols, unit.symbol, c.events, analysis);
    const std::int32_t last = m.param4 + m.param5;
    const float voice = voicePitch(analysis.f0, m.endPos, last, w.levelToneHz);
    bankwriter::SingingVoice v;
    v.unit = unit.unit;
    v.frames = w.frames.frames(c.samples, analysis, m.beginPos, m.endPos - 1, voice);
    for (bankwriter::PlainFrame& f : vowelFrames(w.frames, c.samples, analysis, m.endPos, last, voice))
        v.frames.push_back(std::move(f));
    v.pitch = pitchNameOf(voice);
    // The vowel's last part and its coda carry on at the body's level; the
    // last voiced frame, from which the fade goes on, stays as recorded so
    // that a phrase still ends as softly as the speech does.
    const auto frameOf = [&](std::int32_t mark) { return std::size_t(mark - m.beginPos); };
    holdUp(v.frames, frameOf(m.param4), v.frames.size() - 1, w.heldHz,
           sungLevelDb(v.frames, frameOf(m.param3), frameOf(m.param4), w.heldHz), kVowelCarryDb);
    const std::int32_t tail = tailLength(c.samples, last);
    for (bankwriter::PlainFrame& f : tailFrames(c.samples, last, tail, v.frames.back()))
        v.frames.push_back(std::move(f));
    const std::int32_t b = m.beginPos;
    v.values = {0, m.endPos - b, m.param3 - b, m.param4 - b, m.param5 + tail, 0, 0, 0, 0, 0, kHop, 0, 0,
                bankwriter::floatBits(kRatio1), 0, 0};
    return v;
}

// The two syllables spoken as one word; the first one's events are as many
// as it has spoken alone, ended where the second one begins.
bankwriter::SingingContinuant DemoBankMaker::makeContinuant(Workshop& w, const Hearing& hearing,
                                                          const ContinuantRecord& c, std::size_t& consonantFrom) const
{
    const std::size_t firstCount = untilPause(heard(hearing, c.first + kFirstTone).speech.events).size();
    const Heard& h = heard(hearing, c.first + kFirstTone + c.second + kFirstTone);
    const std::vector<PhonemeEvent> events = untilPause(h.speech.events);
    const std::vector<PhonemeEvent> alone = untilPause(heard(hearing, c.second + kFirstTone).speech.events);
    // The word's events continue with those the second syllable has alone.
    if (firstCount == 0 || events.size() <= firstCount || alone.empty() || events[firstCount].name != alone.front().name)
        throw std::runtime_error("the continuant \"" + c.key + "\" has no second syllable in its speech");
    // The analysis needs the word up to the second syllable's vowel.
    const std::int64_t to = events[std::min(firstCount + 1, events.size() - 1)].sample;
    const Cut cw = cut(h.samples, events, events.front().sample, to);
    SpeechAnalysis analysis = analyseSpeech(c.key, cw.samples);
    std::vector<PhonemeEvent> first(cw.events.begin(), cw.events.begin() + std::ptrdiff_t(firstCount));
    first.push_back({"_|", cw.events[firstCount].sample});
    const std::vector<PhonemeEvent> second(cw.events.begin() + std::ptrdiff_t(firstCount), cw.events.end());
    const SyllableMarks b = onsetMarks(c.second, second, hasInitial(w.symbols, c.second));
    unvoiceUnresolvable(analysis, b.beginPos, b.endPos - 1);
    const SyllableMarks a = marksOf(w.symbols, c.first, first, analysis);
    // The next cell's onset takes over where it begins when it is sung
    // whole (an unvoiced initial), else halfway into it.
    const std::int32_t takeOver =
        c.unvoicedInitial ? b.beginPos : b.beginPos + static_cast<std::int32_t>(std::lround(0.5 * (b.endPos - b.beginPos)));
    if (takeOver <= a.param4)
        throw std::runtime_error("the continuant \"" + c.key + "\" has no frames between its syllables");
    const float voice = voicePitch(analysis.f0, a.param4, takeOver, w.levelToneHz);
    bankwriter::SingingContinuant out;
    out.unit = c.key;
    out.frames = vowelFrames(w.frames, cw.samples, analysis, a.param4, b.beginPos - 1, voice);
    for (bankwriter::PlainFrame& f : w.frames.frames(cw.samples, analysis, b.beginPos, takeOver, voice))
        out.frames.push_back(std::move(f));
    consonantFrom = std::size_t(b.beginPos - a.param4);
    out.pitch = pitchNameOf(voice);
    out.param1 = 0;
    out.param2 = takeOver - a.param4;
    return out;
}

bankwriter::SingingVoice DemoBankMaker::matchedVoice(std::size_t pitch, Workshop& w, const UnitRecord& unit,
                                                     float& raise, double& levelBelowNext) const
{
    bankwriter::SingingVoice v = makeVoice(w, heard_[pitch], unit);
    // The body: the frames from the third placing value to the fourth.
    const auto bodyLevel = [&](int semitone) {
        return sungLevelDb(v.frames, std::size_t(v.values[2]), std::size_t(v.values[3]),
                           noteNameToFreq(formatNoteName(semitone)));
    };
    raise = 0.0f;
    if (pitch > 0) {
        const auto below = levelsBelowNext_[pitch - 1].find(unit.symbol);
        raise = pitches_[pitch].gainDb;
        if (below != levelsBelowNext_[pitch - 1].end())
            raise = static_cast<float>(below->second - bodyLevel(parseNoteName(pitches_[pitch].fromNote)));
        // A syllable the lower voice sings quietly high above its recording
        // (a close vowel) is lowered no further than keeps it audible at the
        // top of the pitch's notes.
        raise = std::max(raise, static_cast<float>(kQuietestTopDb - bodyLevel(highestNote(pitch))));
    }
    raiseFrames(v.frames, raise, raise);
    // The initial under the body: its harmonics, and the bands through which
    // a join from the syllable before bends towards it.
    const int held = heldNote(pitch);
    const auto onset = std::size_t(v.values[1]);
    holdUp(v.frames, 0, onset, w.heldHz, bodyLevel(held), kJoinHoldDb);
    floorBands(v.frames, 0, onset, v.frames.at(std::size_t(v.values[2])).bands, float(kJoinHoldDb));
    levelBelowNext = pitch + 1 < pitches_.size() ? bodyLevel(highestNote(pitch)) : 0.0;
    return v;
}

int DemoBankMaker::highestNote(std::size_t pitch) const
{
    return pitch + 1 < pitches_.size() ? parseNoteName(pitches_[pitch + 1].fromNote) - 1 : parseNoteName(kHighestNote);
}

int DemoBankMaker::heldNote(std::size_t pitch) const
{
    return pitch > 0 ? parseNoteName(pitches_[pitch].fromNote) : highestNote(pitch);
}

std::unique_ptr<DemoBankMaker::Workshop> DemoBankMaker::workshop(std::size_t pitch) const
{
    return std::make_unique<Workshop>(calibration_, pitches_[pitch].levelToneHz,
                                      noteNameToFreq(formatNoteName(heldNote(pitch))));
}

float DemoBankMaker::raiseOf(std::size_t pitch, const std::string& symbol) const
{
    const auto found = raised_[pitch].find(symbol);
    return found == raised_[pitch].end() ? pitches_[pitch].gainDb : found->second;
}

bankwriter::SingingContinuant DemoBankMaker::matchedContinuant(std::size_t pitch, Workshop& w,
                                                               const ContinuantRecord& c) const
{
    std::size_t consonant = 0;
    bankwriter::SingingContinuant out = makeContinuant(w, heard_[pitch], c, consonant);
    raiseFrames(out.frames, raiseOf(pitch, c.first), raiseOf(pitch, c.second));
    // Held up against the first syllable's vowel, where the join begins: its
    // harmonics, and its bands, through which the synthesis bends that vowel
    // towards the next syllable; into a voiced initial it also bends the next
    // syllable's vowel (of either recording) from where the continuant ends
    // back through it, so no band falls far under that end either. (An
    // unvoiced initial's beginning is no vowel to hold to.)
    const double vowelDb = sungLevelDb(out.frames, 0, 1, w.heldHz);
    const std::vector<float> first = out.frames.front().bands;
    for (const auto& [from, to, belowDb] : {std::tuple{std::size_t(0), consonant, kVowelCarryDb},
                                            std::tuple{consonant, out.frames.size(), kJoinHoldDb}}) {
        holdUp(out.frames, from, to, w.heldHz, vowelDb, belowDb);
        floorBands(out.frames, from, to, first, float(belowDb));
    }
    if (!c.unvoicedInitial)
        floorBands(out.frames, 0, out.frames.size(), std::vector<float>(out.frames.back().bands), float(kJoinHoldDb));
    return out;
}

void DemoBankMaker::matchBelow(std::size_t pitch, const std::vector<UnitRecord>& units)
{
    if (pitch == 0)
        return;
    matchBelow(pitch - 1, units);
    const std::size_t below = pitch - 1;
    std::vector<std::string> words;
    for (const UnitRecord& u : units)
        words.push_back(u.symbol + kFirstTone);
    hearAll(below, words);
    const std::unique_ptr<Workshop> w = workshop(below);
    for (const UnitRecord& u : units)
        if (levelsBelowNext_[below].count(u.symbol) == 0) {
            float raise = 0.0f;
            double level = 0.0;
            matchedVoice(below, *w, u, raise, level);
            raised_[below][u.symbol] = raise;
            levelsBelowNext_[below][u.symbol] = level;
        }
}

bankwriter::SingingVoice DemoBankMaker::voice(const UnitRecord& unit, std::size_t pitch)
{
    matchBelow(pitch, {unit});
    hearAll(pitch, {unit.symbol + kFirstTone});
    float raise = 0.0f;
    double level = 0.0;
    return matchedVoice(pitch, *workshop(pitch), unit, raise, level);
}

bankwriter::SingingContinuant DemoBankMaker::continuant(const ContinuantRecord& c, std::size_t pitch)
{
    // Its syllables' records at its own pitch too, for their raise.
    matchBelow(pitch + 1, {UnitRecord{c.first, c.first}, UnitRecord{c.second, c.second}});
    hearAll(pitch, {c.first + kFirstTone, c.second + kFirstTone, c.first + kFirstTone + c.second + kFirstTone});
    return matchedContinuant(pitch, *workshop(pitch), c);
}

std::vector<std::string> DemoBankMaker::wordsOf(const BankUnits& units)
{
    std::vector<std::string> words;
    for (const UnitRecord& u : units.units)
        words.push_back(u.symbol + kFirstTone);
    for (const ContinuantRecord& c : units.continuants)
        for (const std::string& word : {c.first + kFirstTone, c.second + kFirstTone,
                                        c.first + kFirstTone + c.second + kFirstTone})
            words.push_back(word);
    return words;
}

MadeBank DemoBankMaker::bank(const BankUnits& units)
{
    // Every word is spoken before any record is made: each word is spoken
    // by a process forked from this one, which costs the more the more
    // this one holds.
    const std::vector<std::string> words = wordsOf(units);
    for (std::size_t p = 0; p < pitches_.size(); ++p)
        hearAll(p, words);
    MadeBank made;
    made.package.header.hopSize = kHop;
    made.package.strings[2] = "CHN";
    std::vector<std::vector<int>> notes(pitches_.size());
    for (std::size_t p = 0; p < pitches_.size(); ++p) {
        addRecords(p, units, made, notes[p]);
        heard_[p].clear();
    }
    made.package.ext2 = true;
    made.package.groupList = timbreGroupList(pitches_, notes);
    return made;
}

void DemoBankMaker::addRecords(std::size_t pitch, const BankUnits& units, MadeBank& made, std::vector<int>& notes)
{
    // Each record becomes its bytes at once: the bank is held once, not as
    // frames and bytes both.
    const std::size_t voiceCount = units.units.size();
    const std::size_t count = voiceCount + units.continuants.size();
    std::vector<bankwriter::Variant> records(count);
    std::vector<std::string> failures(count);
    std::vector<std::unique_ptr<Workshop>> workshops(threads_);
    const auto workshopOf = [&](unsigned thread) -> Workshop& {
        if (!workshops[thread])
            workshops[thread] = workshop(pitch);
        return *workshops[thread];
    };
    // The voices first: each continuant is raised as its syllables are.
    std::vector<float> raises(voiceCount, 0.0f);
    std::vector<double> levels(voiceCount, 0.0);
    parallelFor(voiceCount, threads_, [&](std::size_t i, unsigned thread) {
        try {
            const bankwriter::SingingVoice v =
                matchedVoice(pitch, workshopOf(thread), units.units[i], raises[i], levels[i]);
            records[i] = {v.unit, v.pitch, 0, bankwriter::v3VoiceRecord(v.values, bankwriter::ghrModelBytes(v.frames))};
        } catch (const std::runtime_error& e) {
            failures[i] = e.what();
        }
    });
    for (std::size_t i = 0; i < voiceCount; ++i)
        if (failures[i].empty()) {
            raised_[pitch][units.units[i].symbol] = raises[i];
            levelsBelowNext_[pitch][units.units[i].symbol] = levels[i];
        }
    parallelFor(count - voiceCount, threads_, [&](std::size_t k, unsigned thread) {
        const std::size_t i = voiceCount + k;
        try {
            const bankwriter::SingingContinuant c = matchedContinuant(pitch, workshopOf(thread), units.continuants[k]);
            records[i] = {c.unit, c.pitch, 0,
                          bankwriter::v3ContinuantRecord(c.param1, c.param2, kHop, bankwriter::ghrModelBytes(c.frames))};
        } catch (const std::runtime_error& e) {
            failures[i] = e.what();
        }
    });

    const std::string at = pitch == 0 ? "" : " (from " + pitches_[pitch].fromNote + ")";
    std::set<std::string> stored;
    for (std::size_t i = 0; i < count; ++i) {
        const bool isVoice = i < voiceCount;
        if (!failures[i].empty()) {
            made.leftOut.push_back((isVoice ? units.units[i].symbol : units.continuants[i - voiceCount].key) + at +
                                   ": " + failures[i]);
            continue;
        }
        std::vector<std::string> names;
        if (!isVoice)
            names.push_back(records[i].unit);
        else
            for (const std::string& name : {units.units[i].unit, units.units[i].symbol})
                if (stored.insert(name).second)
                    names.push_back(name);
        if (isVoice && !records[i].pitch.empty())
            notes.push_back(parseNoteName(records[i].pitch));
        for (std::size_t k = 0; k < names.size(); ++k) {
            made.package.variants.push_back(k + 1 < names.size() ? records[i] : std::move(records[i]));
            made.package.variants.back().unit = names[k];
        }
        (isVoice ? made.voices : made.continuants) += names.size();
    }
}

}  // namespace demobank
