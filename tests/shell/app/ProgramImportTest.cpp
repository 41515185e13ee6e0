// MIDI files and VSQX scores read by the program: opened as new projects or
// imported into the open one, they save to the bytes the main frame's own
// import gives in process; damaged files and bad track numbers end the run
// with their exit codes and write nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "ProgramRun.h"
#include "model/current/DefaultProject.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/file/ProjectFile.h"
#include "platform/ExeDir.h"
#include "platform/MessageBox.h"
#include "shell/MainFrame.h"
#include "support/ByteBuilder.h"
#include "support/audio/AudioFiles.h"
#include "support/audio/Mp3Fixture.h"
#include "support/audio/RiffWriter.h"
#include "support/midi/SmfWriter.h"
#include "support/model_document/ProjectBuilder.h"
#include "voicebank/SingerMgr.h"

namespace {

using namespace projtest;
using hvtest::SmfTrack;
using hvtest::SmfWriter;
using progtest::readText;
using progtest::RunResult;
namespace fs = std::filesystem;

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// A singing track by its first segment's name, an instrumental one by its own.
std::vector<std::string> trackNames(const HalvorenModel& model)
{
    std::vector<std::string> names;
    for (const Track* t : model.tracks)
        names.push_back(t->kind == kInstrumentTrack ? t->name : t->singSegs->segAt(0)->name);
    return names;
}

std::vector<std::pair<int, int>> tempos(const HalvorenModel& model)
{
    std::vector<std::pair<int, int>> out;
    for (const Tempo* t : model.tempos) out.emplace_back(t->pos, t->tempo);
    return out;
}

class ProgramImportTest : public ::testing::Test {
protected:
    ProgramImportTest()
    {
        // One installed singer: the default singer of the program and of
        // the import in process alike.
        const std::string folder = dir_.file("home/singers/Mia");
        fs::create_directories(folder);
        std::ofstream(folder + "/Mia.hvsd") << R"({"version": "1", "name": "Mia"})";
        std::ofstream(folder + "/HVI");
        std::ofstream(folder + "/HVC");
        setExeDirOverride(CString::fromUtf8(dir_.file("home")));
        getSingerList()->loadFromFolder();

        // Track 0 conducts, track 1 holds one note, track 2 a lyric and two
        // overlapping notes (62 over 0-480, 64 over 240-720).
        SmfWriter smf(1, 480);
        smf.track(SmfTrack().name(0, "conductor").tempo(0, 500000).tempo(480, 400000));
        smf.track(SmfTrack().name(0, "one").note(960, 1200, 60));
        smf.track(SmfTrack().name(0, "two").lyric(0, "ka").noteOn(0, 62).noteOn(240, 64).noteOff(480, 62).noteOff(720, 64));
        smf.writeTo(song_);
    }
    ~ProgramImportTest() override
    {
        getSingerList()->clearSingers();
        setExeDirOverride(CString());
    }

    RunResult run(const std::string& args) { return progtest::runProgram(dir_, args); }

    // What the main frame's import makes of a new document in process,
    // saved; the overlap question gets the given answer.
    template <class Import>
    std::string savedInProcess(Import import, MbResult overlapAnswer)
    {
        ScriptedMessageBoxService boxes;
        boxes.fallback = overlapAnswer;
        ScopedMessageBoxService scoped(&boxes);
        CSSSynthesizerDoc doc;
        doc.newProject(makeDefaultProject().release());
        CMainFrame frame(&doc);
        import(frame);
        const std::string path = dir_.file("in_process.ot");
        EXPECT_EQ(saveProjectFile(*doc.getModel(), CString::fromUtf8(path)), 0);
        return readText(path);
    }

    std::unique_ptr<HalvorenModel> reopen(const std::string& path)
    {
        return std::unique_ptr<HalvorenModel>(loadProjectFile(CString::fromUtf8(path)));
    }

    hvtest::ScratchDir dir_{"program_import"};
    const std::string song_ = dir_.file("song.mid");
    const std::string out_ = dir_.file("out.ot");
};

TEST_F(ProgramImportTest, AMidiFileOpensAsTheMainFrameImportsIt)
{
    fs::copy_file(song_, dir_.file("Upper.MID"));  // the extension's case does not matter
    struct Case {
        std::string file;
        std::string options;
        std::optional<std::vector<int>> answer;  // nothing: every track offered
        MbResult overlapAnswer;
        std::vector<std::string> segments;
        std::string question;  // the overlap question on stderr, by the project's track number
    };
    const std::string asked = " exist note overlap, do you want to auto-fix it?\n";
    const std::vector<Case> cases = {
        {song_, "--midi-tracks 2", std::vector<int>{2}, MbResult::no, {"two"}, ">_<: track 1" + asked},
        // The answer given, nothing is asked.
        {song_, "--midi-tracks 2,1 --fix-overlaps", std::vector<int>{2, 1}, MbResult::yes, {"one", "two"}, ""},
        {dir_.file("Upper.MID"), "", std::nullopt, MbResult::no, {"one", "two"}, ">_<: track 2" + asked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + c.options);
        fs::remove(out_);
        const RunResult r = run(quoted(c.file) + " " + c.options + " --save " + quoted(out_));
        ASSERT_EQ(r.code, 0) << r.err;
        if (c.question.empty()) {
            EXPECT_EQ(r.err.find(asked), std::string::npos) << r.err;
        } else {
            EXPECT_NE(r.err.find(c.question), std::string::npos) << r.err;
        }
        const std::string expected = savedInProcess(
            [&](CMainFrame& frame) {
                if (c.answer) frame.midiTrackAnswer = [&](const auto&) { return c.answer; };
                ASSERT_EQ(frame.importMidiFile(CString::fromUtf8(song_), true), MidiImportResult::Status::imported);
            },
            c.overlapAnswer);
        EXPECT_EQ(readText(out_), expected);

        const auto model = reopen(out_);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(trackNames(*model), c.segments);
        // The default marker, then 500000 µs at tick 0 (12000 at 7680) and
        // 400000 µs at tick 480 (15000 at 7680 + 480).
        EXPECT_EQ(tempos(*model), (std::vector<std::pair<int, int>>{{0, 12000}, {7680, 12000}, {8160, 15000}}));
        const SingSegment* two = model->tracks.back()->singSegs->segAt(0);
        EXPECT_EQ(two->singer, "Mia");
        const Note* first = two->notes[0];
        EXPECT_EQ(first->key, 115 - 62);
        EXPECT_EQ(first->lyric, "ka");
        if (c.overlapAnswer == MbResult::no) {
            EXPECT_EQ(first->width, 480);  // kept as read
        }
    }
}

TEST_F(ProgramImportTest, AVsqxScoreOpensAsTheMainFrameImportsIt)
{
    fs::create_directories(dir_.file("a.wavparts"));
    ASSERT_TRUE(hvtest::writeBytes(dir_.file("a.wavparts/b.wav"), hvtest::simpleWav(1, 2, 44100, 16, hvtest::Bytes(1600, 0))));
    const std::string score = dir_.file("a.vsqx");
    hvtest::writeFileBytes(score, R"(<?xml version="1.0" encoding="UTF-8"?>
<vsq4>
  <masterTrack><preMeasure>1</preMeasure><tempo><t>0</t><v>14000</v></tempo></masterTrack>
  <vsTrack><name>Lead</name>
    <vsPart><t>1920</t><playTime>1920</playTime><name>Verse</name>
      <note><t>0</t><dur>480</dur><n>60</n><y>Ka</y></note>
    </vsPart>
  </vsTrack>
  <stTrack><wavPart><t>0</t><playTime>960</playTime><name>bee</name><filePath>b.wav</filePath></wavPart></stTrack>
</vsq4>
)");
    const RunResult r = run(quoted(score) + " --save " + quoted(out_));
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string expected = savedInProcess(
        [&](CMainFrame& frame) { ASSERT_TRUE(frame.importVsqxFile(CString::fromUtf8(score))); }, MbResult::ok);
    EXPECT_EQ(readText(out_), expected);

    const auto model = reopen(out_);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->tracks.size(), 2u);
    EXPECT_EQ(model->tracks[0]->name, "Lead");
    // preMeasure 1 moves everything by 3 measures: 1920 + 3 * 1920.
    EXPECT_EQ(model->tracks[0]->singSegs->segAt(0)->pos, 7680);
    EXPECT_EQ(model->tracks[0]->singSegs->segAt(0)->singer, "Mia");
    EXPECT_EQ(model->tracks[1]->name, "WAV(STEREO)");
    EXPECT_EQ(model->tracks[1]->instSegs->segAt(0)->audioPath, dir_.file("a.wavparts/b.wav"));
    EXPECT_EQ(tempos(*model), (std::vector<std::pair<int, int>>{{0, 12000}, {5760, 14000}}));
}

// Segments whose clips cannot be loaded (a file gone, one past the clip
// budget, one that cannot be decoded, at its stored path or beside the
// project in its place) are named once with why, mix as silence for their
// stored length and are saved back unchanged; so are a VSQX score's wav
// parts. A low-bit-rate MP3, whose samples are hundreds of times its file,
// plays.
TEST_F(ProgramImportTest, ClipsThatCannotLoadAreNamedAndKept)
{
    hvtest::ByteBuilder samples;
    for (int i = 0; i < 4410; ++i) samples.u16(1000);
    const hvtest::Bytes clip = hvtest::simpleWav(1, 1, 44100, 16, hvtest::toBytes(samples));
    ASSERT_TRUE(hvtest::writeBytes(dir_.file("clip.wav"), clip));
    // 8 kbit/s at 8000 Hz: 88.2 bytes a clip byte at 44100 Hz.
    ASSERT_TRUE(hvtest::writeSineMp3(dir_.file("low.mp3"), {8000, 1, 440, 440, 2.0, 0.5, 8}));
    // 12.5 MB of 8-bit samples at 1000 Hz become 1.1 GB at 44100 Hz: past
    // the 1 GiB the clips of a project may hold, refused from the header.
    ASSERT_TRUE(hvtest::writeBytes(dir_.file("huge.wav"), hvtest::simpleWav(1, 1, 1000, 8, hvtest::Bytes(12500000, 128))));
    auto m = markersOnly();
    Track* t = addTrack(*m, kInstrumentTrack, "Piano");
    t->volume = 100;
    const std::pair<int, std::string> clips[] = {{7680, dir_.file("clip.wav")},
                                                 {7680 + 1920, dir_.file("low.mp3")},
                                                 {7680 + 2 * 1920, dir_.file("gone.wav")},
                                                 {7680 + 4 * 1920, dir_.file("huge.wav")}};
    for (const auto& [pos, file] : clips) addClip(*t, pos, 1920, 44100, 0)->audioPath = file;
    // A damaged clip.wav of 16 bytes beside the project, whose clip is
    // stored with a Windows path; a file of noise named .mp3; a WAV file
    // named .WAV.
    ASSERT_TRUE(hvtest::writeBytes(dir_.file("bad.wav"), hvtest::Bytes(clip.begin(), clip.begin() + 16)));
    hvtest::writeFileBytes(dir_.file("noise.mp3"), std::string(5000, 'a'));
    ASSERT_TRUE(hvtest::writeBytes(dir_.file("clip.WAV"), clip));
    Track* drums = addTrack(*m, kInstrumentTrack, "Drums");
    const std::pair<int, std::string> damaged[] = {{7680, "D:\\\xE4\xBC\xB4\xE5\xA5\x8F\\bad.wav"},
                                                   {7680 + 1920, dir_.file("noise.mp3")},
                                                   {7680 + 2 * 1920, dir_.file("clip.WAV")}};
    for (const auto& [pos, file] : damaged) addClip(*drums, pos, 1920, 44100, 0)->audioPath = file;
    const std::string project = dir_.file("clips.ot");
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(project)), 0);

    const std::string mix = dir_.file("mix.wav");
    const RunResult r = run(quoted(project) + " --save " + quoted(out_) + " --mixdown " + quoted(mix) + " --quiet");
    ASSERT_EQ(r.code, 0) << r.err;
    // The program folder here has no dictionaries.
    const std::string noDict = ">_<: Dictionary file not exist\n";
    const std::string named = "-_-!: These clips are not loaded; their segments stay in the project and play as "
                              "silence:\ntrack 1 \"Piano\", measure 3, beat 1: " + dir_.file("gone.wav") +
                              " (cannot be read: No such file or directory)\ntrack 1 \"Piano\", measure 5, beat 1: " +
                              dir_.file("huge.wav") + " (too large to hold)\ntrack 2 \"Drums\", measure 1, beat 1: " +
                              damaged[0].second + " (cannot be read: No such file or directory; " +
                              dir_.file("bad.wav") + ": cannot be decoded)\ntrack 2 \"Drums\", measure 2, beat 1: " +
                              dir_.file("noise.mp3") + " (cannot be decoded)\ntrack 2 \"Drums\", measure 3, beat 1: " +
                              dir_.file("clip.WAV") + " (cannot be decoded: only .wav and .mp3 files are read)\n";
    // Nothing else is said: the decoder's own notes stay off stderr.
    EXPECT_EQ(r.err, noDict + named);
    EXPECT_EQ(readText(out_), readText(project));
    // The loaded clip: its 4410 mono frames, 1000 on both sides after the
    // fade-in of the first 5 ms (220 frames); the MP3's 440 Hz from 2 s (read
    // past its onset).
    // The mix lasts to the end of the last segment, whose clip is refused:
    // measure 6 at 2 s a measure, 10 s; nothing sounds a second past the
    // MP3's stored end at 4 s (its decoder's padding may reach past it).
    const std::vector<int16_t> x = hvtest::wavSamples(mix);
    ASSERT_EQ(x.size(), 2u * 441000u);
    EXPECT_TRUE(std::all_of(x.begin() + 2 * 44100 * 5, x.end(), [](int16_t v) { return v == 0; }));
    EXPECT_EQ(x[2 * 1000], 1000);
    EXPECT_EQ(x[2 * 1000 + 1], 1000);
    std::vector<int16_t> left;
    for (size_t i = 2 * 44100 * 9 / 4; i < x.size(); i += 2) left.push_back(x[i]);
    EXPECT_NEAR(hvtest::zeroCrossingFrequency(left, 44100, 100), 440.0, 2.0);

    // The same parts in a VSQX score are named as the project's are.
    hvtest::writeFileBytes(dir_.file("w.vsqx"), R"(<?xml version="1.0" encoding="UTF-8"?>
<vsq4>
  <masterTrack><preMeasure>4</preMeasure><tempo><t>0</t><v>12000</v></tempo></masterTrack>
  <monoTrack><wavPart><t>11520</t><playTime>1920</playTime><filePath>)" + dir_.file("gone.wav") +
                                                        R"(</filePath></wavPart></monoTrack>
</vsq4>
)");
    const RunResult v = run(quoted(dir_.file("w.vsqx")) + " --save " + quoted(dir_.file("w.ot")));
    ASSERT_EQ(v.code, 0) << v.err;
    EXPECT_EQ(v.err, noDict + "-_-!: These clips are not loaded; their segments stay in the project and play as "
                     "silence:\ntrack 1 \"WAV(MONO)\", measure 3, beat 1: " + dir_.file("gone.wav") +
                     " (cannot be read: No such file or directory)\n");
}

// --fix-overlaps fixes the overlapping notes of whatever file is read: a
// VSQX score's and a project's as well as the MIDI tracks taken.
TEST_F(ProgramImportTest, FixOverlapsAppliesToEveryFileRead)
{
    hvtest::writeFileBytes(dir_.file("o.vsqx"), R"(<?xml version="1.0" encoding="UTF-8"?>
<vsq4>
  <masterTrack><preMeasure>1</preMeasure><tempo><t>0</t><v>12000</v></tempo></masterTrack>
  <vsTrack><name>Lead</name>
    <vsPart><t>1920</t><playTime>1920</playTime>
      <note><t>0</t><dur>480</dur><n>60</n><y>a</y></note>
      <note><t>240</t><dur>480</dur><n>62</n><y>i</y></note>
    </vsPart>
  </vsTrack>
</vsq4>
)");
    auto m = markersOnly();
    SingSegment* seg = addSingSeg(*addTrack(*m, kSingingTrack), 7680, 1920, "Mia");
    addNote(*seg, 0, 480);
    addNote(*seg, 240, 480);
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(dir_.file("o.ot"))), 0);
    for (const char* file : {"o.vsqx", "o.ot"})
        for (const bool fix : {false, true}) {
            SCOPED_TRACE(std::string(file) + (fix ? " fixed" : ""));
            fs::remove(out_);
            const RunResult r = run(std::string(file) + (fix ? " --fix-overlaps" : "") + " --save out.ot");
            ASSERT_EQ(r.code, 0) << r.err;
            const auto model = reopen(out_);
            ASSERT_NE(model, nullptr);
            const NoteContainer& notes = model->tracks[0]->singSegs->segAt(0)->notes;
            ASSERT_EQ(notes.size(), 2u);
            // The first note ends at 480 as read, or where the second starts.
            EXPECT_EQ(notes[0]->pos + notes[0]->width, fix ? notes[1]->pos : 480);
        }
}

TEST_F(ProgramImportTest, ImportMidiAppendsTracksBeforeTheActions)
{
    auto m = markersOnly();
    addTempo(*m, 3840, 9000);
    addSingSeg(*addTrack(*m, kSingingTrack), 7680, 1920)->name = "mine";
    addTrack(*m, kInstrumentTrack, "Piano");
    const std::string project = dir_.file("p.ot");
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(project)), 0);
    using Tempos = std::vector<std::pair<int, int>>;
    struct Case {
        std::string args;
        std::vector<std::string> tracks;
        Tempos tempos;
        std::string question = "";  // the overlap question names the track's place in the project
    };
    const Tempos own = {{0, 12000}, {3840, 9000}};  // the project's, left alone
    const Tempos song = {{0, 12000}, {7680, 12000}, {8160, 15000}};
    // Singing tracks join after the last singing track, before the
    // instrumental ones.
    const std::vector<Case> cases = {
        {quoted(project) + " --import-midi " + quoted(song_), {"mine", "one", "two", "Piano"}, own,
         ">_<: track 3 exist note overlap, do you want to auto-fix it?\n"},
        {quoted(project) + " --import-midi " + quoted(song_) + " --midi-tracks 1", {"mine", "one", "Piano"}, own},
        // The numbers answer both track choices.
        {quoted(song_) + " --midi-tracks 1 --import-midi " + quoted(song_), {"one", "one"}, song},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const RunResult r = run(c.args + " --save " + quoted(out_));
        ASSERT_EQ(r.code, 0) << r.err;
        if (!c.question.empty()) {
            EXPECT_NE(r.err.find(c.question), std::string::npos) << r.err;
        }
        const auto model = reopen(out_);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(trackNames(*model), c.tracks);
        EXPECT_EQ(tempos(*model), c.tempos);
    }
}

TEST_F(ProgramImportTest, DamagedFilesAndBadTrackNumbersWriteNothing)
{
    const std::string cut = dir_.file("cut.mid");
    hvtest::writeFileBytes(cut, readText(song_).substr(0, 10));  // the header cut short
    const std::string silent = dir_.file("silent.mid");
    SmfWriter(1, 480).track(SmfTrack().name(0, "conductor").tempo(0, 500000)).writeTo(silent);
    // 20,000 notes all ended at once: over 10 MB built from 60 KB.
    const std::string crowded = dir_.file("crowded.mid");
    SmfTrack many;
    many.runningStatus(true);
    for (uint32_t i = 0; i < 20000; ++i) many.noteOn(i, 60 + int(i % 2));
    SmfWriter(1, 480).track(many.control(20000, 123)).writeTo(crowded);
    // 3,000,000 notes of 6 bytes each: 18 MB, more than the 16 MiB the MIDI
    // reader takes.
    const std::string big = dir_.file("big.mid");
    SmfTrack bigTrack;
    bigTrack.runningStatus(true);
    for (uint32_t i = 0; i < 3000000; ++i) bigTrack.noteOn(i, 60).noteOff(i + 1, 60, true);
    SmfWriter(1, 480).track(bigTrack).writeTo(big);
    const uint64_t bigBytes = fs::file_size(big);
    ASSERT_EQ(bigBytes / 100000, 180u);  // 17.2 MiB
    // A score of 33 MiB, more than the 32 MiB the VSQX reader takes.
    const std::string bigScore = dir_.file("big.vsqx");
    hvtest::writeFileBytes(bigScore, "<vsq4/>" + std::string((size_t{33} << 20) - 7, ' '));
    const std::string badXml = dir_.file("bad.VSQX");
    hvtest::writeFileBytes(badXml, "<vsq5/>");
    const std::string project = dir_.file("p.ot");
    ASSERT_EQ(saveProjectFile(*markersOnly(), CString::fromUtf8(project)), 0);
    const std::string midiMessage = "(＞﹏＜): Error in reading midi file...\n";
    const std::string vsqxMessage = ">_<: Error in reading vsqx file...\n";
    struct Case {
        std::string args;
        int code;
        std::string err;
    };
    const std::vector<Case> cases = {
        {quoted(cut), 2, midiMessage + "halvoren: cannot open " + cut + ": not a readable MIDI file\n"},
        {quoted(crowded), 2, "halvoren: cannot open " + crowded + ": too large to import: its 20000 notes would take "},
        {quoted(big), 2,
         "halvoren: cannot open " + big + ": too large to import: its " + std::to_string(bigBytes) +
             " bytes (17.2 MiB) are more than the 16.0 MiB a MIDI file may have\n"},
        {quoted(project) + " --import-midi " + quoted(big), 2,
         "halvoren: cannot import " + big + ": too large to import: its " + std::to_string(bigBytes) +
             " bytes (17.2 MiB) are more than the 16.0 MiB a MIDI file may have\n"},
        {quoted(dir_.file("none.mid")), 2,
         midiMessage + "halvoren: cannot open " + dir_.file("none.mid") + ": No such file or directory\n"},
        {quoted(badXml), 2, vsqxMessage + "halvoren: cannot open " + badXml + ": not a readable VSQX score\n"},
        {quoted(bigScore), 2,
         "halvoren: cannot open " + bigScore +
             ": too large to import: its 34603008 bytes (33.0 MiB) are more than the 32.0 MiB a VSQX score may have\n"},
        {quoted(dir_.file("none.vsqx")), 2,
         vsqxMessage + "halvoren: cannot open " + dir_.file("none.vsqx") + ": No such file or directory\n"},
        {quoted(project) + " --import-midi " + quoted(cut), 2,
         midiMessage + "halvoren: cannot import " + cut + ": not a readable MIDI file\n"},
        {quoted(silent), 2, "halvoren: cannot open " + silent + ": no MIDI track holds notes\n"},
        {quoted(song_) + " --midi-tracks 0", 1,
         "halvoren: --midi-tracks: " + song_ + " has no MIDI track 0 with notes (tracks with notes: 1, 2)\n"},
        {quoted(song_) + " --midi-tracks 1,3", 1,
         "halvoren: --midi-tracks: " + song_ + " has no MIDI track 3 with notes (tracks with notes: 1, 2)\n"},
        {quoted(project) + " --import-midi " + quoted(silent) + " --midi-tracks 0", 1,
         "halvoren: --midi-tracks: " + silent + " has no MIDI track 0 with notes (none has notes)\n"},
        {quoted(song_) + " --midi-tracks x", 1,
         "halvoren: --midi-tracks wants MIDI track numbers from 0 separated by commas, each once, not \"x\"\n"},
    };
    for (const Case& c : cases) {
        const RunResult r = run(c.args + " --save " + quoted(out_));
        EXPECT_EQ(r.code, c.code) << c.args;
        // Nothing is said before the message (but that the program folder
        // here has no dictionaries, once they are looked for): a file
        // refused for its size is not called unreadable first.
        const std::string noDict = ">_<: Dictionary file not exist\n";
        const std::string err = r.err.substr(r.err.rfind(noDict, 0) == 0 ? noDict.size() : 0);
        EXPECT_EQ(err.rfind(c.err, 0), 0u) << c.args << "\n" << r.err;
        EXPECT_FALSE(fs::exists(out_)) << c.args;
    }
}

}  // namespace
