#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "model/document/SSSynthesizerDoc.h"
#include "render/export/ProcessMgr.h"
#include "render/export/SegmentList2WavProcessMgr.h"
#include "render/synth/SegmentSynthMgr.h"
#include "render/synthmgr/BankFixture.h"
#include "shell/ExportCommands.h"
#include "shell/ExportUi.h"
#include "shell/SynthProgressDlg.h"
#include "support/audio/AudioFiles.h"
#include "support/engine/FakeSynth.h"
#include "support/model_document/ProjectBuilder.h"

namespace {

using namespace projtest;
using HalvorenEngineTest::FakeSynth;

// Answers the dialogs as set and records what they were asked.
class ScriptedExportUi : public IExportUi {
public:
    bool selectExportTracks(const std::vector<ExportTrackRow>& shown, std::vector<int>& out) override
    {
        rows = shown;
        out = chosen;
        return true;
    }
    bool showSaveFileDlg(const CString& ext, const std::vector<FileFilter>& f, const CString&, CString& p) override
    {
        defaultExt = ext.toUtf8();
        filters = f;
        p = path;
        return !path.isEmpty();
    }
    bool showBrowseFolderDlg(const CString&, const CString& initial, CString& f) override
    {
        initialFolder = initial.toUtf8();
        f = folder;
        return true;
    }
    bool askYesNo(const CString& text, const CString& caption) override
    {
        questions.push_back(caption.toUtf8() + ": " + text.toUtf8());
        return yes;
    }
    bool runProgress(IProcessMgr& job) override
    {
        ++progressRuns;
        CSynthProgressDlg dlg({.interval = std::chrono::milliseconds(1)});
        dlg.processMgr = &job;
        return dlg.doModal() == CSynthProgressDlg::IDOK;
    }

    std::vector<int> chosen;
    CString path;
    CString folder;
    bool yes = false;
    std::vector<ExportTrackRow> rows;
    std::vector<FileFilter> filters;
    std::string defaultExt;
    std::string initialFolder;
    std::vector<std::string> questions;
    int progressRuns = 0;
};

using hvtest::wavSamples;

// A fake whose plan gives no voice to the notes with the lyric "xx" and
// sings "la" in place of "yy", and whose job meets faultWhenSung (when set)
// in its bank as it sings.
class PlanningSynth : public FakeSynth {
public:
    using FakeSynth::FakeSynth;
    void start() override
    {
        FakeSynth::start();
        if (!faultWhenSung.empty())
            fault = faultWhenSung;
    }
    void getNoteTimes(SingSegment* seg, const std::vector<Tempo*>&, int from, int to, float,
                      std::vector<NoteTimesRec>& out) override
    {
        out.clear();
        for (Note* n : seg->notes)
            if (n->pos >= from && n->pos <= to) {
                n->renderFlag = true;
                out.push_back({{}, n, n->lyric != "xx", n->lyric == "yy" ? "la" : ""});
            }
    }
    std::string faultWhenSung;
};

// A project at 120 BPM in 4/4 (measure 1 at tick 7680, 8 s) whose singers'
// synthesizers are fakes: each singer's output is set by name.
class ExportCommandsTest : public synthtest::BankFixture {
protected:
    ExportCommandsTest() : synths_(rows())
    {
        doc_.setModel(markersOnly().release(), CString::fromUtf8(dir_.file("demo.ot")));
        model_ = doc_.getModel();
    }

    SynthMakerTable rows()
    {
        SynthMakerTable table;
        table["1"] = [this](const std::string& bankPath) {
            auto* synth = new PlanningSynth(outputs_[bankPath]);
            synth->done = static_cast<int>(synth->out.size());
            synth->faultWhenSung = faultsWhenSung_[bankPath];
            made_.push_back(synth);
            return synth;
        };
        return table;
    }
    // A singer whose synthesizers sing `samples`, meeting faultWhenSung in
    // the bank as they do.
    void singer(const std::string& name, std::vector<short> samples, const std::string& faultWhenSung = {})
    {
        addSinger(name, "1");
        outputs_[dir_.file(name) + "/"] = std::move(samples);
        faultsWhenSung_[dir_.file(name) + "/"] = faultWhenSung;
    }

    CSSSynthesizerDoc doc_;
    HalvorenModel* model_;
    std::map<std::string, std::vector<short>> outputs_;
    std::map<std::string, std::string> faultsWhenSung_;
    std::vector<FakeSynth*> made_;
    SegmentSynthMgr synths_;
    ScriptedExportUi ui_;
};

TEST_F(ExportCommandsTest, EntriesStartWhereTheExportStartRulePlacesThem)
{
    EXPECT_EQ(doc_.measureToTick(1), 7680);
    struct Case {
        const char* name;
        int pos;
        bool clip;
        int length;       // output or clip frames
        int firstFrame;   // where its first sample lands (negative: dropped)
    };
    const std::vector<Case> cases = {
        // (8 - 1.5 - 8) s * 44100 = -66150: the lead-in before the start is
        // dropped. The outputs open silent (300 frames, the last four marked).
        {"segment at 7680", 7680, false, 66150 + 300, -66150},
        // (10 - 1.5 - 8) s = 0.5 s = 22050 frames.
        {"segment at 9600", 9600, false, 4, 22050},
        // A clip has no lead-in: (7.5 - 8) s = -22050.
        {"clip at 7200", 7200, true, 22050 + 300, -22050},
    };
    singer("S", {});
    for (const Case& c : cases) {
        synths_.clear();  // as for a new project: no segment of the last one is known
        doc_.setModel(markersOnly().release(), CString::fromUtf8(dir_.file("demo.ot")));
        HalvorenModel& m = *doc_.getModel();
        std::vector<int16_t> clipSamples(static_cast<size_t>(c.length), 0);
        std::vector<short> sung(static_cast<size_t>(c.length), 0);
        // Samples 1, 2, 3, 4 at the end, so that the frames kept are known.
        for (int k = 1; k <= 4; ++k) {
            clipSamples[static_cast<size_t>(c.length - 5 + k)] = static_cast<int16_t>(k);
            sung[static_cast<size_t>(c.length - 5 + k)] = static_cast<short>(k);
        }
        if (c.clip) {
            Track* t = addTrack(m, kInstrumentTrack, "Piano");
            InstrumentSegment* clip = addClip(*t, c.pos, 960, 44100, c.length);
            clip->left = clipSamples;
        } else {
            outputs_[dir_.file("S") + "/"] = sung;
            Track* t = addTrack(m, kSingingTrack, "Vocal");
            addNote(*addSingSeg(*t, c.pos, 1920, "S"), 0, 480);
        }
        m.tracks[0]->volume = 100;  // gain 1
        ui_.chosen = {0};
        const std::string path = dir_.file(std::string(c.name) + ".wav");
        ui_.path = CString::fromUtf8(path);
        EXPECT_EQ(mixdownToFile(doc_, synths_, ui_), ExportOutcome::done) << c.name;
        const std::vector<int16_t> got = wavSamples(path);
        const int lastFrame = c.firstFrame + c.length - 1;  // frame of sample 4
        ASSERT_EQ(got.size(), static_cast<size_t>(lastFrame + 1) * 2) << c.name;
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(got[static_cast<size_t>(lastFrame - 4 + k) * 2], k) << c.name << " sample " << k;
        if (c.firstFrame > 0) {
            EXPECT_EQ(got[static_cast<size_t>(c.firstFrame - 1) * 2], 0) << c.name;
        }
    }
}

TEST_F(ExportCommandsTest, MixdownAsksForTracksAndFileAndClearsChains)
{
    singer("S", {100, 100});
    Track* vocal = addTrack(*model_, kSingingTrack, "Vocal");
    SingSegment* seg = addSingSeg(*vocal, 9600, 1920, "S");
    addNote(*seg, 0, 480);
    addTrack(*model_, kInstrumentTrack, "Piano");
    // A synthesizer still on a track chain from an earlier playback.
    ISynth* old = synths_.getSynth(seg);
    ASSERT_NE(old, nullptr);
    struct Chain : ISynthCallback {
        void onSynthFinished(ISynth*) override {}
    } chain;
    old->setCallback(&chain);

    ui_.chosen = {0, 1};
    ui_.path = CString::fromUtf8(dir_.file("mix.wav"));
    EXPECT_EQ(mixdownToFile(doc_, synths_, ui_), ExportOutcome::done);
    ASSERT_EQ(ui_.rows.size(), 2u);
    EXPECT_EQ(ui_.rows[0].name.toUtf8(), "Vocal");
    EXPECT_EQ(ui_.rows[0].kind.toUtf8(), "track-singing");
    EXPECT_EQ(ui_.rows[1].trackIndex, 1);
    EXPECT_EQ(ui_.rows[1].kind.toUtf8(), "track-instrumental");
    EXPECT_EQ(ui_.defaultExt, "wav");
    ASSERT_EQ(ui_.filters.size(), 3u);
    EXPECT_EQ(ui_.filters[0].text.toUtf8(), "All supported files(*.wav, *.mp3)");
    EXPECT_EQ(ui_.filters[0].patterns.toUtf8(), "*.wav;*.mp3");
    EXPECT_EQ(ui_.filters[2].text.toUtf8(), "Mp3(*.mp3)");
    EXPECT_EQ(synths_.findSynth(seg), old);  // still ready: reused
    EXPECT_EQ(old->getCallback(), nullptr);
    EXPECT_EQ(made_.back()->starts, 1);
    EXPECT_EQ(made_.back()->stops, 1);
}

TEST_F(ExportCommandsTest, UnknownExtensionIsRefusedBeforeSinging)
{
    singer("S", {100});
    addNote(*addSingSeg(*addTrack(*model_, kSingingTrack, "Vocal"), 7680, 1920, "S"), 0, 480);
    ui_.path = CString::fromUtf8(dir_.file("song.ogg"));
    EXPECT_EQ(mixdownToFile(doc_, synths_, ui_), ExportOutcome::failed);
    EXPECT_EQ(ui_.progressRuns, 0);
    ASSERT_EQ(script_.shown.size(), 1u);
    EXPECT_EQ(script_.shown[0].text, dir_.file("song.ogg") + "\nWave file output failed...\nnot a .wav or .mp3 file");
    EXPECT_FALSE(std::filesystem::exists(dir_.file("song.ogg")));
}

TEST_F(ExportCommandsTest, ChecksRefuseOverlapsAndMissingSingers)
{
    singer("S", {100});
    Track* vocal = addTrack(*model_, kSingingTrack, "Vocal");
    SingSegment* seg = addSingSeg(*vocal, 7680, 1920, "S");
    addNote(*seg, 0, 480);
    addNote(*seg, 240, 480);  // overlaps the first
    addNote(*addSingSeg(*vocal, 11520, 1920, "Nobody"), 0, 480);
    ui_.path = CString::fromUtf8(dir_.file("x.wav"));
    ui_.folder = CString::fromUtf8(dir_.path());
    for (auto command : {mixdownToFile, exportEachTrack}) {
        script_.shown.clear();
        EXPECT_EQ(command(doc_, synths_, ui_), ExportOutcome::refused);
        ASSERT_EQ(script_.shown.size(), 2u);
        // Measure 1 starts at 7680; tick 7680 + 240 is on its first beat.
        // Both notes of the pair lie on beat 1 of measure 1: one line.
        EXPECT_EQ(script_.shown[0].text,
                  "Please remove the overlaps first:\nNotes overlap in track 1 \"Vocal\" at measure 1, beat 1");
        EXPECT_EQ(script_.shown[1].text, "Please choose an installed singer:\nsinger \"Nobody\" is not in your system");
    }
    EXPECT_EQ(ui_.progressRuns, 0);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("x.wav")));
}

TEST_F(ExportCommandsTest, NotesWithoutAVoiceOrWithAnotherAreNamedAndNothingSungWritesNothing)
{
    singer("S", {100, 100});
    ui_.chosen = {0};
    struct Case {
        const char* name;
        std::vector<const char*> lyrics;  // quarters from tick 9600: measure 2, beat 1
        ExportOutcome outcome;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"one of two", {"la", "xx"}, ExportOutcome::done,
         "Notes without a voice in their singer's bank (they stay silent):\ntrack 1 \"Vocal\", measure 2, beat 2: \"xx\""},
        {"none", {"xx"}, ExportOutcome::unsung,
         "Notes without a voice in their singer's bank (they stay silent):\ntrack 1 \"Vocal\", measure 2, beat 1: \"xx\""},
        {"another", {"la", "la", "yy"}, ExportOutcome::done,
         "Notes whose syllable their singer's bank does not have (they sing another):\n"
         "track 1 \"Vocal\", measure 2, beat 3: \"yy\" sings \"la\""},
    };
    for (const Case& c : cases) {
        synths_.clear();  // a new project
        doc_.setModel(markersOnly().release(), CString::fromUtf8(dir_.file("demo.ot")));
        SingSegment* seg = addSingSeg(*addTrack(*doc_.getModel(), kSingingTrack, "Vocal"), 9600, 1920, "S");
        for (size_t i = 0; i < c.lyrics.size(); ++i) addNote(*seg, 480 * static_cast<int>(i), 480, 60, c.lyrics[i]);
        script_.shown.clear();
        const std::string path = dir_.file(std::string(c.name) + ".wav");
        ui_.path = CString::fromUtf8(path);
        EXPECT_EQ(mixdownToFile(doc_, synths_, ui_), c.outcome) << c.name;
        ASSERT_GE(script_.shown.size(), 1u) << c.name;
        EXPECT_EQ(script_.shown[0].text, c.shown) << c.name;
        EXPECT_EQ(std::filesystem::exists(path), c.outcome == ExportOutcome::done) << c.name;
    }
}

TEST_F(ExportCommandsTest, ASegmentWhoseJobLaysOutNothingFailsTheExport)
{
    // "Empty" sings nothing at all: its job could not be laid out.
    singer("S", {100, 100});
    singer("Empty", {});
    Track* vocal = addTrack(*model_, kSingingTrack, "Vocal");
    addNote(*addSingSeg(*vocal, 9600, 1920, "S"), 0, 480);
    addNote(*addSingSeg(*vocal, 11520, 1920, "Empty"), 0, 480);
    vocal->singSegs->segAt(1)->name = "Verse";
    ui_.chosen = {0};
    ui_.path = CString::fromUtf8(dir_.file("part.wav"));
    EXPECT_EQ(mixdownToFile(doc_, synths_, ui_), ExportOutcome::failed);
    ASSERT_EQ(script_.shown.size(), 1u);
    // Tick 11520 = 7680 + 2 x 1920: measure 3, beat 1.
    EXPECT_EQ(script_.shown[0].text,
              "Segments their singer's bank cannot sing:\nsegment \"Verse\" of track 1 \"Vocal\" at measure 3, beat 1");
    // The rest is still written, up to where the unsung segment's output
    // would start: (12 - 1.5 - 8) s = 110250 frames.
    const std::vector<int16_t> got = wavSamples(dir_.file("part.wav"));
    ASSERT_EQ(got.size(), 110250u * 2u);
    EXPECT_EQ(got[22050 * 2], 30);  // S at (10 - 1.5 - 8) s = 22050 frames, 100 x volume 30 / 100
}

// A segment whose bank turns out damaged as it is sung, or whose score asks
// for sound where the output wrote only zeros of its voice, is not sung: it
// is named under the bank file at fault, the export fails, and an output
// left with nothing sung is not written (a mixdown, or a track's file).
// Silence the score asks for itself is written as it is, without a word.
TEST_F(ExportCommandsTest, ASegmentFoundUnsungAsItIsSungIsNamedAndSilenceIsNotWritten)
{
    const std::string damaged = dir_.file("Damaged") + "/HVC:";
    const std::string fault = "the record at byte 8 claims 40 bytes, past the end at byte 20";
    const std::string other = "the record at byte 48 holds no frames";
    const std::string silent = "its voice is silent where the score asks for sound";
    singer("S", {100, 100});
    singer("Damaged", {100, 100}, damaged + " " + fault);
    singer("Damaged2", {100, 100}, dir_.file("Damaged2") + "/HVC: " + other);
    singer("Silent", {0, 0, 0});
    // Its buffer holds a voice, but 1 and -2 at volume 30 are written as 0.
    singer("Faint", {1, -2, 1});
    // A fault that names no file of its bank's folder stands whole.
    singer("Elsewhere", {100, 100}, "/elsewhere/HVC: " + fault);
    enum Silencing { none, amplitude, muted, mutedVolume };
    struct Case {
        const char* name;
        std::vector<const char*> singers;  // one segment each, a measure apart from measure 2
        bool eachTrack;                    // one track per segment, else one track
        Silencing silencing;               // how the score silences the segments on "Silent"
        ExportOutcome outcome;
        std::string shown;                 // the box of the segments not sung; "" for none
        std::vector<std::string> written;  // the files written
    };
    const std::string heading = "Segments their singer's bank cannot sing:\n";
    const std::string atMeasure2 = "segment \"\" of track 1 \"Vocal\" at measure 2, beat 1";
    const std::string atMeasure3 = "segment \"\" of track 1 \"Vocal\" at measure 3, beat 1";
    // A file's fault with the segments it stops.
    auto group = [](const std::string& file, const std::string& what, const std::vector<std::string>& places) {
        std::string text = file + "\n  " + what;
        for (const std::string& place : places) text += "\n    " + place;
        return text;
    };
    const std::vector<Case> cases = {
        {"damaged", {"Damaged"}, false, none, ExportOutcome::failed, heading + group(damaged, fault, {atMeasure2}), {}},
        {"silent", {"Silent"}, false, none, ExportOutcome::failed,
         heading + group(dir_.file("Silent") + "/HVC:", silent, {atMeasure2}), {}},
        {"faint", {"Faint"}, false, none, ExportOutcome::failed,
         heading + group(dir_.file("Faint") + "/HVC:", silent, {atMeasure2}), {}},
        {"damaged beside sung", {"S", "Damaged"}, false, none, ExportOutcome::failed,
         heading + group(damaged, fault, {atMeasure3}), {"damaged beside sung.wav"}},
        {"each track", {"Damaged", "S"}, true, none, ExportOutcome::failed, heading + group(damaged, fault, {atMeasure2}),
         {"demo_2_Vocal.wav"}},
        // Two segments on one damaged content file: the file and its fault
        // once, each segment on a line under them.
        {"twice", {"Damaged", "Damaged"}, false, none, ExportOutcome::failed,
         heading + group(damaged, fault, {atMeasure2, atMeasure3}), {}},
        // Faults of two banks: a group each.
        {"two banks", {"Damaged", "Damaged2"}, false, none, ExportOutcome::failed,
         heading + group(damaged, fault, {atMeasure2}) + "\n" +
             group(dir_.file("Damaged2") + "/HVC:", other, {atMeasure3}),
         {}},
        {"elsewhere", {"Elsewhere", "Elsewhere"}, false, none, ExportOutcome::failed,
         heading + "/elsewhere/HVC: " + fault + "\n  " + atMeasure2 + "\n  " + atMeasure3, {}},
        // Silence the score asks for: Amplitude at its bottom, a muted track,
        // a track at volume 0; alone and beside a sung segment or track.
        {"amplitude", {"Silent"}, false, amplitude, ExportOutcome::done, "", {"amplitude.wav"}},
        {"amplitude beside sung", {"Silent", "S"}, false, amplitude, ExportOutcome::done, "",
         {"amplitude beside sung.wav"}},
        {"amplitude each track", {"Silent", "S"}, true, amplitude, ExportOutcome::done, "",
         {"demo_1_Vocal.wav", "demo_2_Vocal.wav"}},
        {"muted", {"Silent"}, false, muted, ExportOutcome::done, "", {"muted.wav"}},
        {"volume 0 each track", {"Silent", "S"}, true, mutedVolume, ExportOutcome::done, "",
         {"demo_1_Vocal.wav", "demo_2_Vocal.wav"}},
    };
    for (const Case& c : cases) {
        synths_.clear();  // a new project
        doc_.setModel(markersOnly().release(), CString::fromUtf8(dir_.file("demo.ot")));
        Track* track = nullptr;
        for (size_t i = 0; i < c.singers.size(); ++i) {
            if (track == nullptr || c.eachTrack) track = addTrack(*doc_.getModel(), kSingingTrack, "Vocal");
            SingSegment* seg = addSingSeg(*track, 9600 + 1920 * static_cast<int>(i), 1920, c.singers[i]);
            addNote(*seg, 0, 480);
            if (std::string(c.singers[i]) != "Silent") continue;
            if (c.silencing == amplitude) seg->curve(kAmplitudeCurve) = ParamCurve{{-1, 0}, {1921, 0}};
            if (c.silencing == muted) track->muted = true;
            if (c.silencing == mutedVolume) track->volume = 0;
        }
        const std::string out = dir_.file(c.name);
        std::filesystem::create_directory(out);
        script_.shown.clear();
        ui_.chosen = {0, 1};
        ui_.path = CString::fromUtf8(out + "/" + c.name + ".wav");
        ui_.folder = CString::fromUtf8(out);
        EXPECT_EQ(c.eachTrack ? exportEachTrack(doc_, synths_, ui_) : mixdownToFile(doc_, synths_, ui_), c.outcome)
            << c.name;
        std::vector<std::string> texts;
        for (const auto& shown : script_.shown) texts.push_back(shown.text);
        if (c.shown.empty()) {
            EXPECT_TRUE(texts.empty()) << c.name << ": " << (texts.empty() ? "" : texts[0]);
        } else {
            EXPECT_NE(std::find(texts.begin(), texts.end(), c.shown), texts.end())
                << c.name << ": " << (texts.empty() ? "" : texts[0]);
        }
        const std::string unwritten = c.eachTrack ? out + "/demo_1_Vocal.wav" : out + "/" + c.name + ".wav";
        EXPECT_EQ(std::find(texts.begin(), texts.end(), unwritten + "\nNo note is sung: the file is not written.") !=
                      texts.end(),
                  c.outcome == ExportOutcome::failed && (c.written.empty() || c.eachTrack))
            << c.name;
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(out)) files.push_back(entry.path().filename());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, c.written) << c.name;
    }
}

// An output that cannot be written is named for that alone: no segment is
// blamed for the silence it never wrote, and nothing is said to be unsung.
TEST_F(ExportCommandsTest, AnOutputThatCannotBeWrittenIsNamedForThatAlone)
{
    singer("S", {100, 100});
    addNote(*addSingSeg(*addTrack(*model_, kSingingTrack, "Vocal"), 9600, 1920, "S"), 0, 480);
    ui_.chosen = {0};
    struct Case {
        const char* path;  // in a folder that does not exist
        bool eachTrack;
        std::string format;
    };
    const std::vector<Case> cases = {
        {"gone/a.wav", false, "Wave"}, {"gone/a.mp3", false, "MP3"}, {"gone", true, "Wave"}};
    for (const Case& c : cases) {
        script_.shown.clear();
        ui_.path = CString::fromUtf8(dir_.file(c.path));
        ui_.folder = CString::fromUtf8(dir_.file(c.path));
        EXPECT_EQ(c.eachTrack ? exportEachTrack(doc_, synths_, ui_) : mixdownToFile(doc_, synths_, ui_),
                  ExportOutcome::failed)
            << c.path;
        const std::string file = c.eachTrack ? dir_.file("gone/demo_1_Vocal.wav") : dir_.file(c.path);
        ASSERT_EQ(script_.shown.size(), 1u) << c.path << ": " << script_.shown.back().text;
        EXPECT_EQ(script_.shown[0].text, file + "\n" + c.format + " file output failed...\nNo such file or directory")
            << c.path;
    }
}

// The bar's last line tells the export written, wherever among the
// dialog's looks at the job its synthesizer finishes: the synthesizer here
// reports nothing done until its n-th report, then all of it.
TEST_F(ExportCommandsTest, TheProgressBarsLastLineFollowsCompletion)
{
    class LateSynth : public FakeSynth {
    public:
        LateSynth(int silentReports) : FakeSynth(std::vector<short>(100, 100), 100), silent_(silentReports) {}
        int samplesDone() override { return reports_++ < silent_ ? 0 : done; }

    private:
        int silent_;
        int reports_ = 0;
    };
    for (int silentReports = 0; silentReports < 6; ++silentReports) {
        LateSynth synth(silentReports);
        SegmentList2WavProcessMgr job(CString::fromUtf8(dir_.file("bar.wav")));
        job.addSingJob(&synth, 0, 1.0f, 0.0f);
        std::FILE* bar = std::tmpfile();
        ASSERT_NE(bar, nullptr);
        CSynthProgressDlg dlg({.bar = bar, .interval = std::chrono::milliseconds(1)});
        dlg.processMgr = &job;
        EXPECT_EQ(dlg.doModal(), CSynthProgressDlg::IDOK) << silentReports;
        std::rewind(bar);
        std::string drawn;
        for (int c = std::fgetc(bar); c != EOF; c = std::fgetc(bar)) drawn += static_cast<char>(c);
        std::fclose(bar);
        EXPECT_EQ(drawn.substr(drawn.rfind('\r')), "\r\x1b[KExport WAV [##############################] writing file... 100%\n")
            << silentReports;
    }
}

TEST_F(ExportCommandsTest, TrackFileNamesLoseControlCharactersAndFitTheFileSystem)
{
    singer("S", {100});
    const std::string longName(300, 'a');
    for (const std::string& name : {std::string("x\ny\t"), longName})
        addNote(*addSingSeg(*addTrack(*model_, kSingingTrack, name), 7680, 1920, "S"), 0, 480);
    ui_.folder = CString::fromUtf8(dir_.path());
    ui_.yes = true;
    EXPECT_EQ(exportEachTrack(doc_, synths_, ui_), ExportOutcome::done);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("demo_1_xy.wav")));
    // 255 bytes, less 5 for the ".part" beside it: "demo_2_" (7) + 239 a's + ".wav" (4) = 250.
    EXPECT_TRUE(std::filesystem::exists(dir_.file("demo_2_" + std::string(239, 'a') + ".wav")));
}

TEST_F(ExportCommandsTest, EachTrackNamesFilesByPositionAndAsksOnceBeforeReplacing)
{
    singer("S", {100, -100});
    addNote(*addSingSeg(*addTrack(*model_, kSingingTrack, "Vocal"), 7680, 1920, "S"), 0, 480);
    addTrack(*model_, kInstrumentTrack, "Piano");
    Track* lead = addTrack(*model_, kSingingTrack, "Lead: A");
    addNote(*addSingSeg(*lead, 9600, 1920, "S"), 0, 480);
    const std::string out = dir_.file("out");
    std::filesystem::create_directory(out);
    ui_.folder = CString::fromUtf8(out);
    const std::string first = out + "/demo_1_Vocal.wav";
    const std::string third = out + "/demo_3_Lead A.wav";  // the instrumental track 2 makes no file
    std::ofstream(first) << "old1";
    std::ofstream(third) << "old3";

    ui_.yes = false;
    EXPECT_EQ(exportEachTrack(doc_, synths_, ui_), ExportOutcome::failed);
    EXPECT_EQ(ui_.initialFolder, dir_.path() + "/");
    ASSERT_EQ(ui_.questions.size(), 1u);
    EXPECT_EQ(ui_.questions[0], "-_-!: " + first + "\n" + third + "\n already exists, replace it?");
    EXPECT_EQ(ui_.progressRuns, 0);
    std::ifstream kept(first);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old1");

    ui_.yes = true;
    EXPECT_EQ(exportEachTrack(doc_, synths_, ui_), ExportOutcome::done);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), std::filesystem::directory_iterator()), 2);
    // Vocal's 2 samples start at frame -66150 and are all before the start:
    // a file without frames.
    EXPECT_EQ(std::filesystem::file_size(first), 44u);
    // Lead starts at (10 - 1.5 - 8) s = 22050 frames, then its 2 frames.
    EXPECT_EQ(wavSamples(third).size(), (22050u + 2u) * 2u);
}

}  // namespace
