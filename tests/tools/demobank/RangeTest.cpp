// The demo bank's range: how a sung note and a join are measured, and a
// sample of syllables sung by the program at the two ends of the range the
// README names and where the bank changes recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "JoinGap.h"
#include "NoteSound.h"
#include "ProgramRun.h"
#include "RangeScore.h"
#include "lyrics/PinyinDict.h"
#include "model/current/Track.h"
#include "model/file/ProjectFile.h"
#include "support/midi/SmfWriter.h"
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
// middle 80 ms (from sample 9261 to 12789) fall by `dipDb`: read in 5 ms
// frames of 220 samples from sample 0, it drops out for the 15 frames that
// lie wholly in the dip when the dip goes 20 dB under the notes; a frame
// only partly in it stays up.
TEST(RangeMeasure, AJoinDropsOutWhereItStaysFarUnderBothNotes)
{
    struct Case {
        double dipDb, dropMs;
    } cases[] = {{60.0, 75.0}, {25.0, 75.0}, {15.0, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dipDb);
        std::vector<std::int16_t> x = twoHarmonics(440.0, 0.5, 0.0);
        const std::size_t from = x.size() / 2 - kNoteRate * 40 / 1000, to = x.size() / 2 + kNoteRate * 40 / 1000;
        for (std::size_t n = from; n < to; ++n)
            x[n] = static_cast<std::int16_t>(std::lround(x[n] * std::pow(10.0, -c.dipDb / 20.0)));
        const double notesDb = 10.0 * std::log10(0.125);
        EXPECT_DOUBLE_EQ(demobank::joinDropMs(x, 0, x.size(), notesDb, kNoteRate), c.dropMs);
    }
}

// Half-second notes come in phrases of eight with an eighth rest after
// each: the ninth note begins a quarter of a second after the eighth ends
// and joins nothing; whole-second notes run back to back.
TEST(RangeMeasure, HalfSecondNotesRestAfterEveryEighth)
{
    using demobank::kHalfSecond;
    EXPECT_EQ(demobank::rangeNoteStart(7, kHalfSecond), std::size_t(7 * 22050));
    EXPECT_EQ(demobank::rangeNoteStart(8, kHalfSecond), std::size_t(8 * 22050 + 11025));
    EXPECT_EQ(demobank::rangeNoteStart(17, kHalfSecond), std::size_t(17 * 22050 + 2 * 11025));
    EXPECT_EQ(demobank::rangeNoteStart(8, demobank::kWholeSecond), std::size_t(8 * 44100));
    EXPECT_FALSE(demobank::rangeNoteJoinsPrevious(0, kHalfSecond));
    EXPECT_TRUE(demobank::rangeNoteJoinsPrevious(7, kHalfSecond));
    EXPECT_FALSE(demobank::rangeNoteJoinsPrevious(8, kHalfSecond));
    EXPECT_TRUE(demobank::rangeNoteJoinsPrevious(8, demobank::kWholeSecond));
    const auto score = demobank::rangeProject(std::vector<std::string>(9, "a"), 21, "demo-cmn", kHalfSecond);
    const HVCurrentModel::SingSegment* seg = score->tracks.at(0)->singSegs->segAt(0);
    ASSERT_EQ(seg->notes.size(), 9u);
    EXPECT_EQ(seg->notes[7]->pos, 7 * 480);
    EXPECT_EQ(seg->notes[8]->pos, 8 * 480 + 240);
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

// A VSQX melody between A4 and D5 at 111 BPM, in phrases of eight notes of
// an eighth (0.27 s) or a quarter, a rest after each: syllables ending in
// -n or -ng, and every third one, held on by a "-" of an eighth, most of
// them to another pitch, some into the other recording or before a rest.
// Imported by the program with the demo bank as its only singer: at least
// 95 % of its notes are audible (their middle half within 20 dB of the
// median), and a hold keeps its syllable's coda sounding (within 20 dB).
TEST(RangeMeasure, TheProgramCarriesHeldSyllablesOfAMelody)
{
    const hvtest::ScratchDir dir("demo_melody");
    linkDemoBank(dir);
    const std::vector<std::string> words = {"liang", "jing", "weng", "ming", "qing", "ying", "chang", "huang",
                                            "wang",  "ni",   "de",   "ai",   "wo",   "shi",  "yi",    "ge",
                                            "ren",   "zai",  "feng", "zhong", "deng", "hui", "lai",   "yue",
                                            "guang", "xing", "kong", "yun",  "meng", "jiang", "shan", "long"};
    const int keys[] = {69, 71, 72, 74, 72, 71, 69, 71, 74, 72, 69, 74};
    struct Sung {
        int tick, ticks;
        std::string lyric;
    };
    std::vector<Sung> notes;
    std::string xml;
    const auto add = [&](int tick, int ticks, const std::string& lyric) {
        xml += "<note><t>" + std::to_string(tick) + "</t><dur>" + std::to_string(ticks) + "</dur><n>" +
               std::to_string(keys[notes.size() % std::size(keys)]) + "</n><y><![CDATA[" + lyric + "]]></y></note>\n";
        notes.push_back({tick, ticks, lyric});
    };
    int tick = 0;
    for (std::size_t k = 0; notes.size() < 171; ++k) {
        const std::string& word = words[k * 7 % words.size()];
        const int ticks = k % 2 == 0 ? 480 : 240;
        add(tick, ticks, word);
        tick += ticks;
        if (word.ends_with("n") || word.ends_with("ng") || k % 3 == 2) {
            add(tick, 240, "-");
            tick += 240;
        }
        if (k % 8 == 7)
            tick += 480;
    }
    const std::string score = dir.file("melody.vsqx"), wav = dir.file("melody.wav");
    ASSERT_TRUE(hvtest::writeFileBytes(score, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vsq4><masterTrack>"
                                              "<preMeasure>4</preMeasure><tempo><t>0</t><v>11100</v></tempo>"
                                              "</masterTrack>\n<vsTrack><name>lead</name><vsPart><t>7680</t><playTime>" +
                                                  std::to_string(tick) + "</playTime><name>lead</name>\n" + xml +
                                                  "</vsPart></vsTrack></vsq4>\n"));
    const progtest::RunResult r = progtest::runProgram(dir, "'" + score + "' --mixdown '" + wav + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::int16_t> samples = demobank::firstChannelOf(wav);
    const double samplesPerTick = kNoteRate * 60.0 / (111.0 * 480.0);
    std::vector<double> levels;
    for (const Sung& n : notes)
        levels.push_back(demobank::levelDb(samples, std::size_t((n.tick + n.ticks / 4.0) * samplesPerTick),
                                           std::size_t((n.tick + 3.0 * n.ticks / 4.0) * samplesPerTick)));
    const double median = demobank::medianLevelDb(levels);
    int audible = 0;
    for (std::size_t k = 0; k < notes.size(); ++k) {
        const bool heard = std::fabs(levels[k] - median) <= demobank::kLevelSpanDb;
        audible += heard;
        if (notes[k].lyric == "-") {
            EXPECT_TRUE(heard) << "the hold after " << notes[k - 1].lyric << ": " << levels[k] << " dB, median "
                               << median;
        }
    }
    EXPECT_GE(audible, 0.95 * double(notes.size()));
}

// Every syllable as a half-second note in phrases at B4, at C5, where the
// bank changes recording, and at G5: from B4 to C5 at least 95 % of the
// syllables change in level by at most 6 dB over the notes' middle half, none
// by more than 10 dB, and over their second and their third quarter (where
// codas sound) at least 90 % by at most 6 dB and at most 10 by more than 10;
// at each pitch at most 5 of the 106 joins into a syllable that begins with
// a nasal, a lateral, r, a glide or a vowel stay 20 dB under both notes for
// 50 ms or more (5 ms frames from the middle of one note to the middle of
// the next), and none for 100 ms.
TEST(RangeMeasure, TheProgramSingsAcrossTheChangeOfRecordingAsOneVoice)
{
    const hvtest::ScratchDir dir("demo_meeting");
    linkDemoBank(dir);
    const std::vector<std::string> sample = CPinyinDict().getSyllables();
    ASSERT_EQ(sample.size(), 411u);
    const std::vector<double> parts[] = {{0.25, 0.75}, {0.25, 0.5}, {0.5, 0.75}};
    std::vector<std::vector<std::vector<double>>> levels;  // per pitch, per part, per note
    for (const char* note : {"B4", "C5", "G5"}) {
        SCOPED_TRACE(note);
        const std::string project = dir.file(std::string(note) + ".ot"), wav = dir.file(std::string(note) + ".wav");
        const auto score = demobank::rangeProject(sample, parseNoteName(note), "demo-cmn", demobank::kHalfSecond);
        ASSERT_EQ(saveProjectFile(*score, CString::fromUtf8(project)), 0);
        const progtest::RunResult r = progtest::runProgram(dir, "'" + project + "' --mixdown '" + wav + "'");
        ASSERT_EQ(r.code, 0) << r.err;
        const std::vector<std::int16_t> samples = demobank::firstChannelOf(wav);
        levels.emplace_back();
        for (const std::vector<double>& part : parts) {
            levels.back().emplace_back();
            for (std::size_t k = 0; k < sample.size(); ++k)
                levels.back().back().push_back(
                    demobank::rangeNoteLevelDb(samples, k, demobank::kHalfSecond, part[0], part[1]));
        }
        const std::vector<double>& middle = levels.back()[0];
        const auto centre = [&](std::size_t k) {
            return demobank::rangeNoteStart(k, demobank::kHalfSecond) + kNoteRate / 4;
        };
        int joins = 0, drops = 0;
        for (std::size_t k = 1; k < sample.size(); ++k) {
            if (!demobank::rangeNoteJoinsPrevious(k, demobank::kHalfSecond) ||
                std::string("mnlrwyaeo").find(sample[k][0]) == std::string::npos)
                continue;
            const double ms = demobank::joinDropMs(samples, centre(k - 1), centre(k),
                                                   std::min(middle[k - 1], middle[k]), kNoteRate);
            ++joins;
            drops += ms >= demobank::kJoinDropMs;
            EXPECT_LT(ms, 100.0) << sample[k - 1] << " -> " << sample[k];
        }
        EXPECT_EQ(joins, 106);
        EXPECT_LE(drops, 5);
    }
    for (std::size_t p = 0; p < std::size(parts); ++p) {
        SCOPED_TRACE(parts[p][0]);
        int even = 0, large = 0;
        std::string steps;
        for (std::size_t k = 0; k < sample.size(); ++k) {
            const double step = levels[1][p][k] - levels[0][p][k];
            even += std::fabs(step) <= 6.0;
            large += std::fabs(step) > 10.0;
            if (std::fabs(step) > 6.0)
                steps += " " + sample[k] + " " + std::to_string(step);
        }
        EXPECT_GE(even, (p == 0 ? 0.95 : 0.9) * double(sample.size())) << steps;
        EXPECT_LE(large, p == 0 ? 0 : 10) << steps;
    }
}

}  // namespace
