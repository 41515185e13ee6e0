// The demo bank's range: how a sung note and a join are measured, and a
// sample of syllables sung by the program at the two ends of the range the
// README names and where the bank changes recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "JoinGap.h"
#include "ProgramRun.h"
#include "RangeScore.h"
#include "lyrics/PinyinDict.h"
#include "model/file/ProjectFile.h"
#include "voicebank/NoteName.h"

namespace {

namespace fs = std::filesystem;

constexpr int kNoteRate = 44100;

// Half a second of harmonics 1 and 2 of f at the amplitudes given (full
// scale 1).
std::vector<std::int16_t> twoHarmonics(double f, double first, double second)
{
    std::vector<std::int16_t> x(kNoteRate / 2);
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double t = 2.0 * std::numbers::pi * f * double(n) / kNoteRate;
        x[n] = static_cast<std::int16_t>(std::lround(32767.0 * (first * std::sin(t) + second * std::sin(2.0 * t + 1.0))));
    }
    return x;
}

TEST(RangeMeasure, LevelPeriodAndFundamentalOfANote)
{
    struct Case {
        const char* what;
        double noteHz, sharpness, first, second;
        double levelDb, cents, fundamentalDb;
    } cases[] = {
        // 0.05 and 0.5: mean square (0.05^2 + 0.5^2) / 2 = 0.12625, -8.99 dB;
        // the first harmonic 20 dB under the second.
        {"weak first harmonic", 440.0, 1.0, 0.05, 0.5, -8.99, 0.0, -20.0},
        {"strong first harmonic", 98.0, 1.0, 0.5, 0.05, -8.99, 0.0, 0.0},
        // 1 % sharp: 1200 log2(1.01) = 17.2 cents.
        {"sharp", 440.0, 1.01, 0.5, 0.05, -8.99, 17.2, 0.0},
        // No first harmonic: the period is still the note's.
        {"missing first harmonic", 784.0, 1.0, 0.0, 0.5, -9.03, 0.0, -200.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::int16_t> x = twoHarmonics(c.noteHz * c.sharpness, c.first, c.second);
        const demobank::NoteSound s = demobank::measureNoteSound(x, 0, x.size(), c.noteHz, kNoteRate);
        EXPECT_NEAR(s.levelDb, c.levelDb, 0.05);
        EXPECT_NEAR(s.centsOff, c.cents, 1.0);
        if (c.first > 0.0)
            EXPECT_NEAR(s.fundamentalDb, c.fundamentalDb, 0.3);
        else
            EXPECT_LT(s.fundamentalDb, -60.0);
    }
    const demobank::NoteSound silence = demobank::measureNoteSound(std::vector<std::int16_t>(kNoteRate), 0, kNoteRate, 440.0, kNoteRate);
    EXPECT_FALSE(demobank::judgeNote(silence, -30.0).audible);
}

// A join between two notes of a 440 Hz tone at -9 dB (amplitude 0.5) whose
// middle 80 ms fall by `dipDb`: it drops out for the dip less the 10 ms
// window over which the level is read, when the dip goes 20 dB under the
// notes.
TEST(RangeMeasure, AJoinDropsOutWhereItStaysFarUnderBothNotes)
{
    struct Case {
        double dipDb, dropMs;
    } cases[] = {{60.0, 70.0}, {25.0, 70.0}, {15.0, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dipDb);
        std::vector<std::int16_t> x = twoHarmonics(440.0, 0.5, 0.0);
        const std::size_t from = x.size() / 2 - kNoteRate * 40 / 1000, to = x.size() / 2 + kNoteRate * 40 / 1000;
        for (std::size_t n = from; n < to; ++n)
            x[n] = static_cast<std::int16_t>(std::lround(x[n] * std::pow(10.0, -c.dipDb / 20.0)));
        const double notesDb = 10.0 * std::log10(0.125);
        EXPECT_NEAR(demobank::joinDropMs(x, 0, x.size(), notesDb, kNoteRate), c.dropMs, 2.0);
    }
}

// The build's demo bank in the program folder "home" of dir.
void linkDemoBank(const hvtest::ScratchDir& dir)
{
    fs::create_directories(dir.file("home/singers"));
    fs::create_directory_symlink(fs::path(HV_PROGRAM_FOLDER) / "singers" / "demo-cmn",
                                 dir.file("home/singers/demo-cmn"));
}

// Every tenth syllable and those the top and bottom of the range treat
// worst (close vowels, whose fundamental lies far above their first formant
// when sung high, and the quietest), sung at the range's ends and at C4,
// each as a one-second note through the program's mixdown: at least 99 %
// audible against the median of all of them, in tune and with their
// fundamental.
TEST(RangeMeasure, TheProgramSingsASampleOfSyllablesAtBothEndsOfTheRange)
{
    const hvtest::ScratchDir dir("demo_range");
    linkDemoBank(dir);
    const CPinyinDict pinyin;
    std::vector<std::string> sample;
    const std::vector<std::string> hard = {"bi", "ju", "lv", "nv", "qi", "ri", "wu", "xi", "yi", "yu", "zi"};
    for (std::size_t i = 0; i < pinyin.getSyllables().size(); ++i) {
        const std::string& s = pinyin.getSyllables()[i];
        if (i % 10 == 0 || std::find(hard.begin(), hard.end(), s) != hard.end())
            sample.push_back(s);
    }
    const char* const notes[] = {"G2", "C4", "B5"};
    std::vector<std::vector<demobank::NoteSound>> sung;
    std::vector<double> levels;
    for (const char* note : notes) {
        const std::string project = dir.file(std::string(note) + ".ot"), wav = dir.file(std::string(note) + ".wav");
        ASSERT_EQ(saveProjectFile(*demobank::rangeProject(sample, parseNoteName(note), "demo-cmn"),
                                  CString::fromUtf8(project)),
                  0);
        const progtest::RunResult r = progtest::runProgram(dir, "'" + project + "' --mixdown '" + wav + "'");
        ASSERT_EQ(r.code, 0) << r.err;
        sung.push_back(demobank::rangeNoteSounds(demobank::firstChannelOf(wav), sample.size(), parseNoteName(note)));
        for (const demobank::NoteSound& s : sung.back())
            levels.push_back(s.levelDb);
    }
    const double median = demobank::medianLevelDb(levels);
    for (std::size_t n : {std::size_t(0), std::size_t(2)}) {
        std::size_t sungCount = 0;
        std::string failed;
        for (std::size_t k = 0; k < sample.size(); ++k) {
            const demobank::NoteSound& s = sung[n][k];
            if (demobank::judgeNote(s, median).sung())
                ++sungCount;
            else
                failed += " " + sample[k] + " (" + std::to_string(s.levelDb) + " dB, " + std::to_string(s.centsOff) +
                          " cents, first harmonic " + std::to_string(s.fundamentalDb) + " dB)";
        }
        EXPECT_GE(double(sungCount), 0.99 * double(sample.size()))
            << notes[n] << ", median " << median << " dB:" << failed;
    }
}

// The sample as half-second notes back to back at B4 and at C5, where the
// bank changes recording: from one to the other at least 95 % of the
// syllables change in level by at most 6 dB and none by more than 10 dB; at
// either pitch at most 5 % of the joins into a syllable that begins with a
// nasal, a lateral, r, a glide or a vowel stay 20 dB under both notes for
// 50 ms or more, and none for 100 ms.
TEST(RangeMeasure, TheProgramSingsAcrossTheChangeOfRecordingAsOneVoice)
{
    const hvtest::ScratchDir dir("demo_meeting");
    linkDemoBank(dir);
    const CPinyinDict pinyin;
    std::vector<std::string> sample;
    for (std::size_t i = 0; i < pinyin.getSyllables().size(); i += 7)
        sample.push_back(pinyin.getSyllables()[i]);
    // The largest steps of a single gain for both voices, and the longest
    // drops.
    for (const char* s : {"zhang", "jiang", "liang", "er", "ng", "bing", "ma", "mai", "liang", "liao", "weng", "wo"})
        sample.push_back(s);
    std::vector<std::vector<demobank::NoteSound>> sung;
    for (const char* note : {"B4", "C5"}) {
        SCOPED_TRACE(note);
        const std::string project = dir.file(std::string(note) + ".ot"), wav = dir.file(std::string(note) + ".wav");
        const auto score = demobank::rangeProject(sample, parseNoteName(note), "demo-cmn", demobank::kHalfSecond);
        ASSERT_EQ(saveProjectFile(*score, CString::fromUtf8(project)), 0);
        const progtest::RunResult r = progtest::runProgram(dir, "'" + project + "' --mixdown '" + wav + "'");
        ASSERT_EQ(r.code, 0) << r.err;
        const std::vector<std::int16_t> samples = demobank::firstChannelOf(wav);
        sung.push_back(demobank::rangeNoteSounds(samples, sample.size(), parseNoteName(note), demobank::kHalfSecond));
        const std::size_t quarter = demobank::rangeNoteStart(1, demobank::kHalfSecond) / 4;
        int joins = 0, drops = 0;
        for (std::size_t k = 1; k < sample.size(); ++k) {
            if (std::string("mnlrwyaeo").find(sample[k][0]) == std::string::npos)
                continue;
            const std::size_t start = demobank::rangeNoteStart(k, demobank::kHalfSecond);
            const double ms = demobank::joinDropMs(samples, start - quarter, start + quarter,
                                                   std::min(sung.back()[k - 1].levelDb, sung.back()[k].levelDb),
                                                   kNoteRate);
            ++joins;
            drops += ms >= demobank::kJoinDropMs;
            EXPECT_LT(ms, 100.0) << sample[k - 1] << " -> " << sample[k];
        }
        EXPECT_LE(drops, 0.05 * joins);
    }
    int even = 0;
    for (std::size_t k = 0; k < sample.size(); ++k) {
        const double step = sung[1][k].levelDb - sung[0][k].levelDb;
        even += std::fabs(step) <= 6.0;
        EXPECT_LE(std::fabs(step), 10.0) << sample[k];
    }
    EXPECT_GE(even, 0.95 * double(sample.size()));
}

}  // namespace
