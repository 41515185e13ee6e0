// The demo bank's range table, in steps that scripts/demo-range runs around
// the program:
//   hv_demo_range notes LOW HIGH           the note names from LOW to HIGH,
//                                          one a line
//   hv_demo_range joinnotes LOW HIGH       those of them from G4 to B5, where
//                                          the joins are measured
//   hv_demo_range project FILE.ot NOTE [half]
//                                          every pinyin syllable as a
//                                          one-second note at NOTE ("G2"), or
//                                          as a half-second one
//   hv_demo_range measure FILE.wav NOTE [half]
//                                          one line per note of the
//                                          project's mixdown: note, syllable,
//                                          level (dB), cents, fundamental
//                                          (dB); of half-second notes
//                                          "half", note, syllable, the level
//                                          (dB) over its middle half, its
//                                          second and its third quarter, and
//                                          how long the join into it drops
//                                          out (ms; -1 when not measured)
//   hv_demo_range table LINES...           the table of every note measured,
//                                          the step in level from B4 to C5
//                                          and the joins that drop out
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "JoinGap.h"
#include "RangeScore.h"
#include "lyrics/PinyinDict.h"
#include "model/file/ProjectFile.h"
#include "voicebank/NoteName.h"

namespace {

using demobank::NoteSound;

constexpr int kRate = 44100;

constexpr double kSungShare = 0.99;
constexpr const char* kHalf = "half";
// Where the joins are measured: the notes sung near and above the meeting
// of the bank's two recording pitches.
constexpr const char* kLowestJoinNote = "G4";
constexpr const char* kHighestJoinNote = "B5";
// The step in level across that meeting, and how far a syllable may move.
constexpr const char* kBelowMeeting = "B4";
constexpr const char* kAtMeeting = "C5";
constexpr double kEvenStepDb = 6.0;
constexpr double kLargeStepDb = 10.0;
// A note counts in the step where it is sung at both pitches (as the
// shared measure counts it); those silent at either are named by number.
constexpr double kSilentStepDb = -60.0;

// The parts of a half-second note whose levels are measured: its middle
// half, its second and its third quarter (where codas sound).
struct NotePart {
    const char* name;
    double from, to;
};
constexpr NotePart kStepParts[] = {{"middle half", 0.25, 0.75}, {"second quarter", 0.25, 0.5},
                                   {"third quarter", 0.5, 0.75}};
constexpr std::size_t kPartCount = std::size(kStepParts);

struct Measured {
    std::string syllable;
    NoteSound sound;
};

// A half-second note: its levels over the kStepParts, and how long the
// join into it drops out (-1 when not measured).
struct HalfNote {
    std::string syllable;
    std::array<double, kPartCount> levelsDb{};
    double joinDropMs = -1.0;
};

// A join into a syllable beginning with a voiced sound that can carry on
// from the last one: a nasal, a lateral, r, a glide or a vowel.
bool joinMeasured(const std::string& syllable)
{
    return !syllable.empty() && std::string("mnlrwyaeiouv").find(syllable[0]) != std::string::npos;
}

int usage(const char* self)
{
    std::fprintf(stderr,
                 "usage: %s notes|joinnotes LOW HIGH | project FILE.ot NOTE [half] | measure FILE.wav NOTE [half] "
                 "| table LINES...\n",
                 self);
    return 2;
}

int project(const std::string& path, int semitone, double seconds)
{
    const auto model = demobank::rangeProject(CPinyinDict().getSyllables(), semitone, "demo-cmn", seconds);
    if (saveProjectFile(*model, CString::fromUtf8(path)) != 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

std::size_t halfNoteSamples(double seconds) { return static_cast<std::size_t>(0.5 * seconds * kRate); }

int measure(const std::string& path, int semitone, double seconds)
{
    const CPinyinDict pinyin;
    const std::vector<std::string>& syllables = pinyin.getSyllables();
    const std::vector<std::int16_t> samples = demobank::firstChannelOf(path);
    if (samples.empty()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<NoteSound> sounds = demobank::rangeNoteSounds(samples, syllables.size(), semitone, seconds);
    if (seconds == demobank::kWholeSecond) {
        for (std::size_t k = 0; k < sounds.size(); ++k)
            std::printf("%d %s %.2f %.2f %.2f\n", semitone, syllables[k].c_str(), sounds[k].levelDb,
                        sounds[k].centsOff, sounds[k].fundamentalDb);
        return 0;
    }
    // The join into note k: from the middle of note k - 1 to the middle of
    // note k, where it begins at the end of note k - 1.
    const auto middle = [&](std::size_t k) { return demobank::rangeNoteStart(k, seconds) + halfNoteSamples(seconds); };
    for (std::size_t k = 0; k < sounds.size(); ++k) {
        double drop = -1.0;
        if (demobank::rangeNoteJoinsPrevious(k, seconds) && joinMeasured(syllables[k]))
            drop = demobank::joinDropMs(samples, middle(k - 1), middle(k),
                                        std::min(sounds[k - 1].levelDb, sounds[k].levelDb), kRate);
        std::printf("%s %d %s", kHalf, semitone, syllables[k].c_str());
        for (const NotePart& part : kStepParts)
            std::printf(" %.2f", demobank::rangeNoteLevelDb(samples, k, seconds, part.from, part.to));
        std::printf(" %.1f\n", drop);
    }
    return 0;
}

// The step in level from the note below the meeting of the recording pitches
// to the note at it, over every syllable sung at both, in each part of the
// notes.
void printStep(const std::map<int, std::vector<HalfNote>>& halves)
{
    const auto below = halves.find(parseNoteName(kBelowMeeting)), at = halves.find(parseNoteName(kAtMeeting));
    if (below == halves.end() || at == halves.end() || below->second.size() != at->second.size())
        return;
    for (std::size_t p = 0; p < kPartCount; ++p) {
        int even = 0, large = 0, silent = 0;
        std::vector<std::pair<double, std::string>> steps;  // the step, the syllable
        for (std::size_t k = 0; k < at->second.size(); ++k) {
            const double from = below->second[k].levelsDb[p], to = at->second[k].levelsDb[p];
            if (from <= kSilentStepDb || to <= kSilentStepDb) {
                ++silent;
                continue;
            }
            even += std::fabs(to - from) <= kEvenStepDb;
            large += std::fabs(to - from) > kLargeStepDb;
            steps.emplace_back(to - from, at->second[k].syllable);
        }
        std::sort(steps.begin(), steps.end(),
                  [](const auto& a, const auto& b) { return std::fabs(a.first) > std::fabs(b.first); });
        std::string largest;
        for (std::size_t k = 0; k < std::min<std::size_t>(5, steps.size()); ++k) {
            char text[64];
            std::snprintf(text, sizeof text, "%s%s %+.1f", k ? ", " : "", steps[k].second.c_str(), steps[k].first);
            largest += text;
        }
        std::printf("Step in level from %s to %s (half-second notes, their %s): %d of %zu syllables within %.0f dB, "
                    "%d over %.0f dB (%d silent at either, not counted); largest: %s dB.\n",
                    kBelowMeeting, kAtMeeting, kStepParts[p].name, even, steps.size(), kEvenStepDb, large,
                    kLargeStepDb, silent, largest.c_str());
    }
}

// Per note, how many of the measured joins drop out, and the longest.
void printJoins(const std::map<int, std::vector<HalfNote>>& halves)
{
    if (halves.empty())
        return;
    std::printf("Joins into a syllable beginning with m, n, l, r, w, y or a vowel, half-second notes back to back: "
                "dropping out when, in %.0f ms frames from the middle of one note to the middle of the next, %.0f dB "
                "under both notes for %.0f ms or more.\n",
                demobank::kJoinFrameMs, demobank::kJoinDropDb, demobank::kJoinDropMs);
    std::printf("%-4s %6s %9s %13s  %s\n", "note", "joins", "drop out", "longest (ms)", "longest into");
    for (const auto& [semitone, notes] : halves) {
        int joins = 0, drops = 0;
        double longest = 0.0;
        std::string into = "-";
        for (std::size_t k = 0; k < notes.size(); ++k) {
            if (notes[k].joinDropMs < 0.0)
                continue;
            ++joins;
            drops += notes[k].joinDropMs >= demobank::kJoinDropMs;
            if (notes[k].joinDropMs > longest) {
                longest = notes[k].joinDropMs;
                into = (k > 0 ? notes[k - 1].syllable + "->" : "") + notes[k].syllable;
            }
        }
        std::printf("%-4s %6d %9d %13.0f  %s\n", demobank::semitoneName(semitone).c_str(), joins, drops, longest,
                    into.c_str());
    }
}

int table(const std::vector<std::string>& files)
{
    std::map<int, std::vector<Measured>> rows;
    std::map<int, std::vector<HalfNote>> halves;
    std::vector<double> levels;
    for (const std::string& file : files) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            int semitone = 0;
            Measured m;
            HalfNote h;
            if (line.starts_with(kHalf)) {
                std::string tag;
                if (fields >> tag >> semitone >> h.syllable >> h.levelsDb[0] >> h.levelsDb[1] >> h.levelsDb[2] >>
                    h.joinDropMs)
                    halves[semitone].push_back(h);
            } else if (fields >> semitone >> m.syllable >> m.sound.levelDb >> m.sound.centsOff >> m.sound.fundamentalDb) {
                rows[semitone].push_back(m);
                levels.push_back(m.sound.levelDb);
            }
        }
    }
    if (rows.empty() && halves.empty()) {
        std::fprintf(stderr, "no notes measured\n");
        return 1;
    }
    if (rows.empty()) {
        printStep(halves);
        printJoins(halves);
        return 0;
    }
    const double median = demobank::medianLevelDb(levels);
    std::printf("Each syllable as a one-second note; sung: its middle half within %.0f dB of the median level "
                "(%.1f dBFS), its period within %.0f cents of the note, its first harmonic at most %.0f dB under "
                "its strongest.\n",
                demobank::kLevelSpanDb, median, demobank::kCentsSpan, demobank::kFundamentalSpanDb);
    std::printf("%-4s %7s %6s %8s %7s %11s %5s %9s %9s %11s  %s\n", "note", "Hz", "notes", "audible", "in tune",
                "fundamental", "sung", "quietest", "off most", "weakest 1st", "not sung");
    std::vector<int> passing;
    for (const auto& [semitone, notes] : rows) {
        int audible = 0, inTune = 0, fundamental = 0, sung = 0;
        double quietest = 1e9, offMost = 0.0, weakest = 1e9;
        std::string failed;
        for (const Measured& m : notes) {
            const demobank::NoteVerdict v = demobank::judgeNote(m.sound, median);
            audible += v.audible;
            inTune += v.inTune;
            fundamental += v.fundamental;
            sung += v.sung();
            quietest = std::min(quietest, m.sound.levelDb);
            offMost = std::fabs(m.sound.centsOff) > std::fabs(offMost) ? m.sound.centsOff : offMost;
            weakest = std::min(weakest, m.sound.fundamentalDb);
            if (!v.sung())
                failed += " " + m.syllable;
        }
        if (sung >= kSungShare * double(notes.size()))
            passing.push_back(semitone);
        std::printf("%-4s %7.1f %6zu %8d %7d %11d %5d %9.1f %9.1f %11.1f %s\n", demobank::semitoneName(semitone).c_str(),
                    demobank::semitoneHz(semitone), notes.size(), audible, inTune, fundamental, sung, quietest,
                    offMost, weakest, failed.c_str());
    }
    // The longest run of neighbouring semitones that pass.
    int bestFrom = 0, bestLength = 0;
    for (std::size_t i = 0; i < passing.size();) {
        std::size_t j = i + 1;
        while (j < passing.size() && passing[j] == passing[j - 1] + 1)
            ++j;
        if (int(j - i) > bestLength) {
            bestFrom = passing[i];
            bestLength = int(j - i);
        }
        i = j;
    }
    if (bestLength > 0)
        std::printf("At least %.0f %% sung at every semitone from %s to %s.\n", kSungShare * 100.0,
                    demobank::semitoneName(bestFrom).c_str(), demobank::semitoneName(bestFrom + bestLength - 1).c_str());
    else
        std::printf("No semitone has at least %.0f %% sung.\n", kSungShare * 100.0);
    printStep(halves);
    printJoins(halves);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage(argv[0]);
    const std::string mode = argv[1];
    try {
        if (mode == "table" && argc >= 3)
            return table(std::vector<std::string>(argv + 2, argv + argc));
        if ((mode == "notes" || mode == "joinnotes") && argc == 4) {
            int low = parseNoteName(argv[2]), high = parseNoteName(argv[3]);
            if (mode == "joinnotes") {
                low = std::max(low, parseNoteName(kLowestJoinNote));
                high = std::min(high, parseNoteName(kHighestJoinNote));
            }
            for (int s = low; s <= high; ++s)
                std::printf("%s\n", demobank::semitoneName(s).c_str());
            return 0;
        }
        const bool half = argc == 5 && std::string(argv[4]) == kHalf;
        if ((mode == "project" || mode == "measure") && (argc == 4 || half)) {
            const int semitone = parseNoteName(argv[3]);
            const double seconds = half ? demobank::kHalfSecond : demobank::kWholeSecond;
            return mode == "project" ? project(argv[2], semitone, seconds) : measure(argv[2], semitone, seconds);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return usage(argv[0]);
}
