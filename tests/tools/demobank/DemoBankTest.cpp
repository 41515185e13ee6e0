// The demo bank the build wrote into the program folder, read as the
// program reads it.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "BankUnits.h"
#include "DemoBank.h"
#include "ProgramRun.h"
#include "RangeScore.h"
#include "engine/v3/HVSynthesizer.h"
#include "engine/v3/SourceStore_pkg.h"
#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/PinyinDict.h"
#include "model/current/HalvorenModel.h"
#include "model/current/Note.h"
#include "model/current/Track.h"
#include "model/file/ProjectFile.h"
#include "platform/ExeDir.h"
#include "support/bank/BankTree.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/OutputMeasures.h"
#include "support/engine/PhraseRun.h"
#include "support/midi/SmfWriter.h"
#include "voicebank/NoteName.h"
#include "voicebank/SingerMgr.h"

namespace {

namespace fs = std::filesystem;
using namespace HalvorenEngineV3;

constexpr float kRate = 44100.0f;

const fs::path kBank = fs::path(HV_PROGRAM_FOLDER) / "singers" / "demo-cmn";

demobank::BankUnits allUnits()
{
    Halvoren::ChnSymbolMgr symbols;
    const CPinyinDict pinyin;
    return demobank::bankUnits(symbols, pinyin.getSyllables());
}

TEST(DemoBank, OpensThroughTheSingerListWithEverySyllableAndContinuant)
{
    setExeDirOverride(CString::fromUtf8(HV_PROGRAM_FOLDER));
    getSingerList()->loadFromFolder();
    ISinger* singer = getSingerList()->findSinger("demo-cmn");
    ASSERT_NE(singer, nullptr);
    EXPECT_EQ(singer->getVersion(), "3.1");
    EXPECT_TRUE(singer->hasLyricDict());
    getSingerList()->clearSingers();
    setExeDirOverride(CString());

    // Two timbres: every note below C5 sings from the own voice's records
    // near E3, every note from C5 up from the upper voice's near G5; each
    // unit and continuant is recorded at both.
    SourceStore_pkg store(testbank::packageBasePath(kBank));
    ASSERT_EQ(store.getTimbreCount(), 2);
    std::string lowest[2], centre[2], third;
    for (int t = 0; t < 2; ++t) {
        store.getTimbrePitchNames(t, lowest[t], centre[t], third);
        EXPECT_EQ(third, centre[t]) << t;
    }
    EXPECT_EQ(lowest[0], "C1");
    EXPECT_EQ(lowest[1], "C5");
    EXPECT_NEAR(parseNoteName(centre[0]), parseNoteName("E3"), 1) << centre[0];
    EXPECT_NEAR(parseNoteName(centre[1]), parseNoteName("G5"), 1) << centre[1];
    const auto expectBothPitches = [&](const std::string& name) {
        EXPECT_NEAR(parseNoteName(store.getRecordKey(name, centre[0])), parseNoteName(centre[0]), 2) << name;
        EXPECT_NEAR(parseNoteName(store.getRecordKey(name, centre[1])), parseNoteName(centre[1]), 2) << name;
    };
    const demobank::BankUnits units = allUnits();
    ASSERT_EQ(units.units.size(), 411u);
    for (const demobank::UnitRecord& u : units.units) {
        expectBothPitches(u.unit);
        expectBothPitches(u.symbol);
    }
    for (const demobank::ContinuantRecord& c : units.continuants)
        expectBothPitches(c.key);
}

// The record of a unit nearest a pitch as the build's process wrote it into "HVC".
std::string builtRecord(const std::string& unit, const char* pitch)
{
    SourceStore_pkg store(testbank::packageBasePath(kBank));
    std::int32_t offset = 0, part = 0;
    if (store.findRecordKey(unit, pitch, offset, part).empty() || part != 0)
        return "";
    std::ifstream in(kBank / "HVC", std::ios::binary);
    in.seekg(offset);
    std::int32_t size = 0;
    in.read(reinterpret_cast<char*>(&size), sizeof size);
    std::string bytes(static_cast<std::size_t>(std::max(0, size)), '\0');
    in.read(bytes.data(), size);
    return in ? bytes : "";
}

// Records made again here, on one thread, at both pitches: the bytes the
// build wrote with every core.
TEST(DemoBank, RecordsMadeAgainAreByteIdentical)
{
    const demobank::DemoBankPitches pitches;
    demobank::DemoBankMaker maker(demobank::measureLevelCalibration(), 1, pitches.pitches());
    const char* const nearest[] = {"C1", "B9"};
    for (std::size_t p = 0; p < 2; ++p) {
        for (const demobank::UnitRecord& u : {demobank::UnitRecord{"la", "la"}, demobank::UnitRecord{"xiang", "xiang"}}) {
            const testbank::SingingVoice v = maker.voice(u, p);
            EXPECT_TRUE(testbank::v3VoiceRecord(v.values, testbank::ghrModelBytes(v.frames)) ==
                        builtRecord(u.unit, nearest[p]))
                << u.unit << " " << nearest[p];
        }
        for (const demobank::ContinuantRecord& c : allUnits().continuants)
            if (c.key == "an_d") {
                const testbank::SingingContinuant made = maker.continuant(c, p);
                EXPECT_TRUE(testbank::v3ContinuantRecord(made.param1, made.param2, demobank::DemoBankMaker::kHop,
                                                         testbank::ghrModelBytes(made.frames)) ==
                            builtRecord(c.key, nearest[p]))
                    << nearest[p];
            }
    }
}

// 100 notes of 0.8 s over every fourth syllable, G2 (98 Hz) to G5 (784 Hz),
// each from the records of its pitch's timbre, in phrases of five joined
// notes with a rest of 0.3 s after each. A joined
// note's last quarter may hold the next syllable's consonant, which starts
// before its note; its middle half is the vowel.
struct Sung {
    float start, duration, hz;
    bool endsPhrase;
};

// The timbre pitch of a note as the editor's synthesizer names it: the third
// pitch of the last timbre whose lowest note lies at or below the note.
std::string timbreOf(SourceStore_pkg& store, float hz)
{
    std::string chosen, lowest, middle, third;
    for (int t = 0; t < store.getTimbreCount(); ++t) {
        store.getTimbrePitchNames(t, lowest, middle, third);
        if (t == 0 || noteNameToFreq(lowest) <= hz * 1.01f)
            chosen = third;
    }
    return chosen;
}

HalvorenEngine::SynthScoreV3 hundredNotes(std::vector<Sung>& sung)
{
    SourceStore_pkg store(testbank::packageBasePath(kBank));
    const CPinyinDict pinyin;
    const std::vector<std::string>& syllables = pinyin.getSyllables();
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = 0.3f;
    for (int k = 0; k < 100; ++k) {
        const float start = 0.8f * float(k) + 0.3f * float(k / 5);
        const float hz = 98.0f * std::exp2(float(k * 7 % 37) / 12.0f);
        score.notes.push_back(enginetest::sung(syllables[std::size_t(k * 4)], start, 0.8f));
        score.notes.back().timbre = score.notes.back().crossTimbre = timbreOf(store, hz);
        score.curves[HalvorenEngine::kScorePitch].push_back({start, hz});
        score.curves[HalvorenEngine::kScorePitch].push_back({start + 0.799f, hz});
        sung.push_back({start, 0.8f, hz, k % 5 == 4});
    }
    return score;
}

double rmsDb(const std::vector<short>& x, int from, int to)
{
    double sum = 0.0;
    for (int n = from; n < to; ++n)
        sum += (x[std::size_t(n)] / 32768.0) * (x[std::size_t(n)] / 32768.0);
    return 10.0 * std::log10(sum / (to - from) + 1e-30);
}

class DemoBankSinging : public enginetest::ManagedBankTest<> {
protected:
    DemoBankSinging() : ManagedBankTest("demo_sing") {}
};

// Every note's middle half above -50 dBFS with its f0 within 1 %; each
// phrase's sound fades over its last 20 ms, with no step larger than its
// body's.
TEST_F(DemoBankSinging, AHundredNotesSingAudiblyInTuneAndPhrasesFadeOut)
{
    std::vector<Sung> sung;
    const HalvorenEngine::SynthScoreV3 score = hundredNotes(sung);
    auto* synth = dynamic_cast<HVSynthesizer*>(createSynthesizerV3(testbank::packageBasePath(kBank)));
    ASSERT_NE(synth, nullptr);
    synth->score() = score;
    const std::vector<short> out = enginetest::singOnce(*synth);
    manager_.releaseSynthesizer(synth);
    for (std::size_t k = 0; k < sung.size(); ++k) {
        const Sung& s = sung[k];
        SCOPED_TRACE(score.notes[k].symbol + " at " + std::to_string(s.hz) + " Hz");
        const int start = int((score.leadIn + s.start) * kRate), length = int(s.duration * kRate);
        const int from = start + length / 4, to = start + 3 * length / 4;
        ASSERT_LE(to, int(out.size()));
        EXPECT_GT(rmsDb(out, from, to), -50.0);
        EXPECT_NEAR(enginetest::autocorrelationF0(out, from, to, s.hz * 0.8, s.hz * 1.25, kRate), s.hz, 0.01 * s.hz);
        if (s.endsPhrase) {
            // The sound ends (its last sample above -60 dBFS) at most 20 ms
            // after the note, under -50 dBFS or 10 dB or more under where it
            // was 20 ms before.
            const int end = start + length, fade = int(0.02f * kRate), window = 256;
            int last = std::min(end + fade, int(out.size()) - 1);
            while (last > to && std::abs(out[std::size_t(last)]) <= 32)
                --last;
            EXPECT_LE(enginetest::maxStep(out, last - fade, last), enginetest::maxStep(out, from, to));
            EXPECT_LE(rmsDb(out, last - window, last),
                      std::max(-50.0, rmsDb(out, last - fade - window, last - fade) - 10.0));
            EXPECT_TRUE(enginetest::silent(out, end + fade, end + 2 * fade));
        }
    }
}

// A program folder in dir whose only singer is the demo bank the build made.
void installDemoBank(const hvtest::ScratchDir& dir)
{
    fs::create_directories(dir.file("home/singers"));
    fs::create_directory_symlink(kBank, dir.file("home/singers/demo-cmn"));
}

// "wen" sung legato into "wo" at the top of the range: the join's record
// spans the recording's abrupt change from its vowel to its nasal, which
// must not come back as a loud noise under the note. From half a second
// into the note (after its body, through the join) it stays in tune and at
// most 6 dB above its body (0.2 s to 0.45 s).
TEST(DemoBank, AJoinIntoTheNextSyllableStaysOnTheNoteAtTheTop)
{
    const hvtest::ScratchDir dir("demo_join");
    installDemoBank(dir);
    for (const char* note : {"C5", "G5"}) {
        SCOPED_TRACE(note);
        const std::string project = dir.file(std::string(note) + ".ot"), wav = dir.file(std::string(note) + ".wav");
        ASSERT_EQ(saveProjectFile(*demobank::rangeProject({"wen", "wo"}, parseNoteName(note), "demo-cmn"),
                                  CString::fromUtf8(project)),
                  0);
        const progtest::RunResult r = progtest::runProgram(dir, "'" + project + "' --mixdown '" + wav + "'");
        ASSERT_EQ(r.code, 0) << r.err;
        const std::vector<std::int16_t> sung = demobank::firstChannelOf(wav);
        const int rate = int(kRate);
        ASSERT_GE(sung.size(), std::size_t(rate));
        const double hz = demobank::semitoneHz(parseNoteName(note));
        const auto at = [&](double seconds) { return static_cast<std::size_t>(seconds * rate); };
        const demobank::NoteSound body = demobank::measureNoteSound(sung, at(0.2), at(0.45), hz, rate);
        const demobank::NoteSound end = demobank::measureNoteSound(sung, at(0.5), at(0.8), hz, rate);
        EXPECT_LT(std::fabs(end.centsOff), demobank::kCentsSpan);
        EXPECT_LT(end.levelDb, body.levelDb + 6.0);
    }
}

// A score of one track "lead" holding a quarter note on C4 for each lyric,
// one after another from its segment's start: a MIDI file (".mid") or a
// VSQX score (".vsqx").
bool writeScore(const std::string& path, const std::vector<std::string>& lyrics)
{
    if (path.ends_with(".mid")) {
        hvtest::SmfTrack track;
        track.name(0, "lead");
        for (std::uint32_t k = 0; k < lyrics.size(); ++k)
            track.lyric(480 * k, lyrics[k]).note(480 * k, 480 * k + 480, 60);
        hvtest::SmfWriter smf(1, 480);
        smf.track(track);
        return smf.writeTo(path);
    }
    std::string notes;
    for (std::size_t k = 0; k < lyrics.size(); ++k)
        notes += "<note><t>" + std::to_string(480 * k) + "</t><dur>480</dur><n>60</n><y><![CDATA[" + lyrics[k] +
                 "]]></y></note>\n";
    return hvtest::writeFileBytes(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vsq4><masterTrack>"
                                        "<preMeasure>4</preMeasure></masterTrack>\n<vsTrack><name>lead</name><vsPart>"
                                        "<t>7680</t><playTime>" + std::to_string(480 * lyrics.size()) +
                                        "</playTime><name>lead</name>\n" + notes + "</vsPart></vsTrack></vsq4>\n");
}

// The phonetic symbols of the saved project's first segment.
std::vector<std::string> savedSymbols(const std::string& saved)
{
    const std::unique_ptr<HVCurrentModel::HalvorenModel> model(loadProjectFile(CString::fromUtf8(saved)));
    std::vector<std::string> symbols;
    if (model == nullptr)
        return symbols;
    const HVCurrentModel::SingSegment* seg = model->tracks.at(0)->singSegs->segAt(0);
    EXPECT_EQ(seg->singer, "demo-cmn");
    for (const HVCurrentModel::Note* n : seg->notes)
        symbols.push_back(n->phoneticSymbol);
    return symbols;
}

// A MIDI file with lyrics in characters and in pinyin, opened by the
// program with the demo bank as its only singer, saves the syllables the
// lyrics name; a character alone reads as it does most often (by the word
// list's weights: 长 chang 13,911 against zhang 9,175, 地 di 101,785
// against de 35,028, 弹 tan 1,988 against dan 570, 重 zhong 6,392 against
// chong 4,543, 乐 le 6,513 against yue 343, 还 hai 279,642 against huan
// 5,685, 觉 jue 2,815 against jiao 786, 行 xing 35,822 against hang 3,209).
TEST(DemoBank, TheProgramImportsCharacterLyricsAsTheirMostFrequentSyllables)
{
    const hvtest::ScratchDir dir("demo_import");
    installDemoBank(dir);
    const std::string song = dir.file("song.mid"), saved = dir.file("song.ot");
    ASSERT_TRUE(writeScore(song, {"小", "星", "亮", "晶", "xiang1", "la", "长", "地", "弹", "重", "乐", "还", "觉", "行"}));
    const progtest::RunResult r = progtest::runProgram(dir, "'" + song + "' --save '" + saved + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err.find("sing another"), std::string::npos) << r.err;
    EXPECT_EQ(savedSymbols(saved), (std::vector<std::string>{"xiao", "xing", "liang", "jing", "xiang", "la", "chang",
                                                              "di", "tan", "zhong", "le", "hai", "jue", "xing"}));
}

// The ways a user writes a syllable, made here by the rules of pinyin: in
// lower case, capitalised or in capitals; bare, with a tone digit, or with a
// tone mark, which goes on a, else on o, else on e, else on the last of i, u
// and ü (on the n of "ng"); ü as v or ü, marked only as ü.
std::vector<std::string> writtenForms(const std::string& syllable)
{
    // Unmarked and tones 1 to 4, in lower case and in capitals.
    static const std::map<char, std::array<std::array<const char*, 5>, 2>> kMarked = {
        {'a', {{{"a", "ā", "á", "ǎ", "à"}, {"A", "Ā", "Á", "Ǎ", "À"}}}},
        {'o', {{{"o", "ō", "ó", "ǒ", "ò"}, {"O", "Ō", "Ó", "Ǒ", "Ò"}}}},
        {'e', {{{"e", "ē", "é", "ě", "è"}, {"E", "Ē", "É", "Ě", "È"}}}},
        {'i', {{{"i", "ī", "í", "ǐ", "ì"}, {"I", "Ī", "Í", "Ǐ", "Ì"}}}},
        {'u', {{{"u", "ū", "ú", "ǔ", "ù"}, {"U", "Ū", "Ú", "Ǔ", "Ù"}}}},
        {'v', {{{"ü", "ǖ", "ǘ", "ǚ", "ǜ"}, {"Ü", "Ǖ", "Ǘ", "Ǚ", "Ǜ"}}}},
        {'n', {{{"n", "n\u0304", "ń", "ň", "ǹ"}, {"N", "N\u0304", "Ń", "Ň", "Ǹ"}}}},
    };
    std::size_t mark = std::string::npos;
    for (const char* vowels : {"a", "o", "e"})
        if (mark == std::string::npos)
            mark = syllable.find(vowels);
    if (mark == std::string::npos)
        mark = syllable == "ng" ? 0 : syllable.find_last_of("iuv");
    const bool hasV = syllable.find('v') != std::string::npos;
    std::vector<std::string> forms;
    for (int caps : {0, 1, 2}) {  // lower, capitalised, capitals
        auto spelt = [&](bool umlaut, int tone) {
            std::string out;
            for (std::size_t i = 0; i < syllable.size(); ++i) {
                const int upper = caps == 2 || (caps == 1 && i == 0) ? 1 : 0;
                const int t = i == mark ? tone : 0;
                const char c = syllable[i];
                if (t > 0 || (c == 'v' && umlaut))
                    out += kMarked.at(c)[upper][t];
                else
                    out += upper ? char(std::toupper(c)) : c;
            }
            return out;
        };
        for (bool umlaut : {false, true}) {
            if (umlaut && !hasV)
                continue;
            for (const char* digit : {"", "1", "2", "3", "4", "5"})
                forms.push_back(spelt(umlaut, 0) + digit);
            if (umlaut == hasV)
                for (int tone = 1; tone <= 4; ++tone)
                    forms.push_back(spelt(umlaut, tone));
        }
    }
    return forms;
}

// Every syllable in every spelling, in a MIDI file and in a VSQX score,
// imports as the syllable itself, and none is named as singing another.
TEST(DemoBank, EverySpellingOfEverySyllableImportsAsTheSyllable)
{
    const hvtest::ScratchDir dir("demo_spellings");
    installDemoBank(dir);
    const CPinyinDict pinyin;
    std::vector<std::string> lyrics, expected;
    for (const std::string& syllable : pinyin.getSyllables())
        for (const std::string& form : writtenForms(syllable)) {
            lyrics.push_back(form);
            expected.push_back(syllable);
        }
    // 407 syllables with 30 spellings each, and lv, lve, nv and nve with 48.
    ASSERT_EQ(lyrics.size(), 407u * 30u + 4u * 48u);
    for (const char* name : {"all.mid", "all.vsqx"}) {
        const std::string score = dir.file(name), saved = dir.file("all.ot");
        ASSERT_TRUE(writeScore(score, lyrics));
        const progtest::RunResult r = progtest::runProgram(dir, "'" + score + "' --save '" + saved + "'");
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err.find("sing another"), std::string::npos) << name << ": " << r.err;
        const std::vector<std::string> symbols = savedSymbols(saved);
        ASSERT_EQ(symbols.size(), expected.size()) << name;
        int wrong = 0;
        for (std::size_t k = 0; k < symbols.size() && wrong < 20; ++k)
            if (symbols[k] != expected[k]) {
                ADD_FAILURE() << name << ": " << lyrics[k] << " gives " << symbols[k];
                ++wrong;
            }
    }
}

// A sample of spellings sings the samples of its plain syllables.
TEST(DemoBank, SpellingsSingAsTheirPlainSyllables)
{
    const hvtest::ScratchDir dir("demo_spelt");
    installDemoBank(dir);
    const std::vector<std::string> plain = {"ni", "zhang", "lv", "lve", "ng", "bao", "er", "nue"},
                                   spelt = {"nǐ", "Zhāng", "LǙ", "lüè", "ŃG", "BAO3", "Ér", "Nuè"};
    for (const char* ext : {".mid", ".vsqx"}) {
        std::vector<std::string> wavs;
        for (const auto* lyrics : {&plain, &spelt}) {
            const std::string score = dir.file("song" + std::to_string(wavs.size()) + ext),
                              wav = dir.file("song" + std::to_string(wavs.size()) + ".wav");
            ASSERT_TRUE(writeScore(score, *lyrics));
            const progtest::RunResult r = progtest::runProgram(dir, "'" + score + "' --quiet --mixdown '" + wav + "'");
            ASSERT_EQ(r.code, 0) << r.err;
            wavs.push_back(progtest::readText(wav));
        }
        EXPECT_GT(wavs[0].size(), 44100u * 2u * 3u) << ext;
        EXPECT_TRUE(wavs[0] == wavs[1]) << ext;
    }
}

// Notes that sing another syllable than their lyric are named with what
// they sing: at the import a lyric the dictionary does not read as one word,
// at the export a symbol the bank has no unit for. The rest is sung.
TEST(DemoBank, NotesSingingAnotherSyllableAreNamed)
{
    const hvtest::ScratchDir dir("demo_named");
    installDemoBank(dir);
    const std::string song = dir.file("song.mid"), wav = dir.file("song.wav");
    // 银行 is one word of two syllables; 长城 two words, read alike alone.
    ASSERT_TRUE(writeScore(song, {"xiang", "かな", "Zhangsan", "银行", "长城", "la"}));
    const progtest::RunResult r = progtest::runProgram(dir, "'" + song + "' --quiet --mixdown '" + wav + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    // Measure 1 starts at the segment; a quarter note per beat.
    const std::string named =
        "-_-!: Lyrics their singer's dictionary does not read as one word (the notes sing another):\n"
        "track 1 \"track-singing\", measure 1, beat 2: \"かな\" sings \"la\"\n"
        "track 1 \"track-singing\", measure 1, beat 3: \"Zhangsan\" sings \"zhang\"\n"
        "track 1 \"track-singing\", measure 2, beat 1: \"长城\" sings \"chang\"\n"
        "-_-!: Notes whose syllable their singer's bank does not have (they sing another):\n"
        "track 1 \"track-singing\", measure 1, beat 4: \"银行\" sings \"la\"\n";
    EXPECT_TRUE(r.err.ends_with(named)) << r.err;
    EXPECT_TRUE(fs::exists(wav));
}

}  // namespace
