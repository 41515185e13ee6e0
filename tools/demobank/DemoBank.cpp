#include "DemoBank.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

#include "Upsample.h"
#include "render/synth/PitchNames.h"

namespace demobank {

namespace {

constexpr int kRate = 44100;
constexpr float kRatio1 = 0.5f;
constexpr int kA3Key = 58;  // 220 Hz; a higher note has a smaller key
constexpr const char* kFirstTone = "1";

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

}  // namespace

std::string medianPitchName(const std::vector<float>& f0, std::int32_t first, std::int32_t last)
{
    std::vector<float> voiced;
    for (std::int32_t i = std::max(0, first); i <= last && i < static_cast<std::int32_t>(f0.size()); ++i)
        if (f0[std::size_t(i)] > 0.0f)
            voiced.push_back(f0[std::size_t(i)]);
    if (voiced.empty())
        return "";
    std::nth_element(voiced.begin(), voiced.begin() + voiced.size() / 2, voiced.end());
    const float median = voiced[voiced.size() / 2];
    return keyIndexToPitchName(kA3Key - static_cast<int>(std::lround(12.0 * std::log2(median / 220.0))));
}

DemoBankMaker::DemoBankMaker(Halvoren::ISymbolMgr& symbols, LevelCalibration calibration)
    : symbols_(symbols), frames_(calibration)
{
}

const DemoBankMaker::Heard& DemoBankMaker::hear(const std::string& word)
{
    const auto known = heard_.find(word);
    if (known != heard_.end())
        return known->second;
    Heard h;
    h.speech = speakWord(word);
    if (h.speech.sampleRate * 2 != kRate)
        throw std::runtime_error("the speech synthesiser speaks \"" + word + "\" at " +
                                 std::to_string(h.speech.sampleRate) + " Hz, not 22050 Hz");
    for (PhonemeEvent& e : h.speech.events)
        e.sample *= 2;
    h.samples = upsampleTwice(h.speech.samples);
    h.analysis = analyseSpeech(word, h.samples);
    return heard_.emplace(word, std::move(h)).first->second;
}

SyllableMarks DemoBankMaker::marksOf(const std::string& syllable, const std::vector<PhonemeEvent>& events,
                                     const SpeechAnalysis& analysis)
{
    std::string initial, final;
    symbols_.splitSyllable(syllable, initial, final);
    const bool hasInitial = !initial.empty() && initial != final;
    const bool nasal = endsWith(final, "n") || endsWith(final, "ng");
    return syllableMarks(syllable, events, hasInitial, nasal, analysis.voiced());
}

testbank::SingingVoice DemoBankMaker::voice(const UnitRecord& unit)
{
    const Heard& h = hear(unit.symbol + kFirstTone);
    const SyllableMarks m = marksOf(unit.symbol, h.speech.events, h.analysis);
    const std::int32_t end = m.param4 + m.param5;
    requireResolvablePitch(unit.symbol, h.analysis, m.endPos, end);
    testbank::SingingVoice v;
    v.unit = unit.unit;
    v.pitch = medianPitchName(h.analysis.f0, m.endPos, end);
    v.values = {m.beginPos, m.endPos, m.param3, m.param4, m.param5, 0, 0, 0, 0, 0, kHop, 0, 0,
                testbank::floatBits(kRatio1), 0, 0};
    v.frames = frames_.frames(h.samples, h.analysis);
    return v;
}

// The two syllables spoken as one word; the first one's events are as many
// as it has spoken alone, ended where the second one begins.
testbank::SingingContinuant DemoBankMaker::continuant(const ContinuantRecord& c)
{
    const std::size_t firstCount = untilPause(hear(c.first + kFirstTone).speech.events).size();
    const Heard& h = hear(c.first + kFirstTone + c.second + kFirstTone);
    const std::vector<PhonemeEvent> events = untilPause(h.speech.events);
    const std::vector<PhonemeEvent> alone = untilPause(hear(c.second + kFirstTone).speech.events);
    // The word's events continue with those the second syllable has alone.
    if (events.size() <= firstCount || alone.empty() || events[firstCount].name != alone.front().name)
        throw std::runtime_error("the continuant \"" + c.key + "\" has no second syllable in its speech");
    std::vector<PhonemeEvent> first(events.begin(), events.begin() + std::ptrdiff_t(firstCount));
    first.push_back({"_|", events[firstCount].sample});
    const std::vector<PhonemeEvent> second(h.speech.events.begin() + std::ptrdiff_t(firstCount),
                                           h.speech.events.end());
    const SyllableMarks a = marksOf(c.first, first, h.analysis);
    const SyllableMarks b = marksOf(c.second, second, h.analysis);
    // The next cell's onset takes over where it begins when it is sung
    // whole (an unvoiced initial), else halfway into it.
    const std::int32_t takeOver =
        c.unvoicedInitial ? b.beginPos : b.beginPos + static_cast<std::int32_t>(std::lround(0.5 * (b.endPos - b.beginPos)));
    if (takeOver <= a.param4)
        throw std::runtime_error("the continuant \"" + c.key + "\" has no frames between its syllables");
    requireResolvablePitch(c.key, h.analysis, a.param4, takeOver);
    testbank::SingingContinuant out;
    out.unit = c.key;
    out.pitch = medianPitchName(h.analysis.f0, a.param4, takeOver);
    out.param1 = a.param4;
    out.param2 = takeOver - a.param4;
    out.frames = frames_.frames(h.samples, h.analysis);
    return out;
}

testbank::SingingBank DemoBankMaker::bank(const SongUnits& units)
{
    testbank::SingingBank bank;
    bank.header.hopSize = kHop;
    bank.language = "CHN";
    std::set<std::string> stored;
    for (const UnitRecord& u : units.units) {
        if (stored.count(u.unit) != 0 && stored.count(u.symbol) != 0)
            continue;
        const testbank::SingingVoice v = voice(u);
        for (const std::string& name : {u.unit, u.symbol})
            if (stored.insert(name).second) {
                bank.voices.push_back(v);
                bank.voices.back().unit = name;
            }
    }
    for (const ContinuantRecord& c : units.continuants)
        bank.continuants.push_back(continuant(c));
    return bank;
}

}  // namespace demobank
