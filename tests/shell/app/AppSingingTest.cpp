// The program run in process with the test generation singing its banks of
// version "1": what the mixdown, the track files and the progress hold, and
// how playback waits for the singing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "AlsaEnv.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/file/ProjectFile.h"
#include "platform/ExeDir.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/synth/SegmentSynthMgr.h"
#include "shell/HalvorenApp.h"
#include "shell/Interrupt.h"
#include "shell/PlaybackSession.h"
#include "support/ScratchDir.h"
#include "support/audio/AudioFiles.h"
#include "support/audio/RiffWriter.h"
#include "support/engine/TestCore.h"
#include "support/model_document/ProjectBuilder.h"
#include "voicebank/SingerMgr.h"

namespace {

using namespace projtest;
using namespace HalvorenEngineTest;
namespace fs = std::filesystem;

// Before the process first uses the audio library.
const audiotest::AlsaConfig g_alsa{HV_PACED_SINK_CONF};

using hvtest::wavSamples;

class AppSingingTest : public ::testing::Test {
protected:
    AppSingingTest()
    {
        setExeDirOverride(CString::fromUtf8(dir_.file("home")));
        for (const std::string name : {"A", "B"}) {
            const std::string folder = dir_.file("home/singers/" + name);
            fs::create_directories(folder);
            std::ofstream(folder + "/" + name + ".hvsd") << "{\"version\": \"1\", \"name\": \"" << name << "\"}";
            std::ofstream(folder + "/HVI");
            std::ofstream(folder + "/HVC");
        }
        hvtest::ByteBuilder samples;
        for (int i = 0; i < 4410; ++i) {
            samples.u16(static_cast<uint16_t>(1000));
            samples.u16(static_cast<uint16_t>(-2000));
        }
        hvtest::writeBytes(dir_.file("clip.wav"), hvtest::simpleWav(1, 2, 44100, 16, hvtest::toBytes(samples)));
    }
    ~AppSingingTest() override
    {
        setInterruptRequested(false);
        getSingerList()->clearSingers();
        setExeDirOverride(CString());
    }

    HalvorenEnvironment env(TestConfig config = {})
    {
        HalvorenEnvironment e;
        e.makers = SynthMakerTable{{"1", [config](const std::string&) -> ISynth* { return new TestSynthV1(config); }}};
        return e;
    }

    // Two singing tracks with their own gain and pan, and a clip.
    std::string project()
    {
        auto m = markersOnly();
        Track* a = addTrack(*m, kSingingTrack, "Lead: A");
        a->volume = 100, a->balance = 0.5f;
        addNote(*addSingSeg(*a, 9600, 1920, "A"), 0, 960);
        Track* b = addTrack(*m, kSingingTrack, "Low");
        b->volume = 50, b->balance = -0.3f;
        addNote(*addSingSeg(*b, 10560, 1920, "B"), 0, 480, 55);
        Track* piano = addTrack(*m, kInstrumentTrack, "Piano");
        piano->volume = 100;
        addClip(*piano, 7680, 1920, 44100, 4410)->audioPath = dir_.file("clip.wav");
        const std::string path = dir_.file("demo.ot");
        EXPECT_EQ(saveProjectFile(*m, CString::fromUtf8(path)), 0);
        return path;
    }

    hvtest::ScratchDir dir_{"appsing"};
};

TEST_F(AppSingingTest, MixdownIsTheTrackFilesPlusTheClip)
{
    const std::string mix = dir_.file("mix.wav");
    ASSERT_EQ(halvorenMain({project(), "--mixdown", mix, "--export-each-track", dir_.path(), "--quiet"}, env()), 0);
    const std::vector<int16_t> got = wavSamples(mix);
    const std::vector<int16_t> a = wavSamples(dir_.file("demo_1_Lead A.wav"));
    const std::vector<int16_t> b = wavSamples(dir_.file("demo_2_Low.wav"));
    EXPECT_FALSE(fs::exists(dir_.file("demo_3_Piano.wav")));
    ASSERT_GT(a.size(), 2u * 22050u);  // track A starts at (10 - 1.5 - 8) s = 22050 frames
    ASSERT_GT(b.size(), 2u * 44100u);  // track B at (11 - 1.5 - 8) s = 66150 frames
    EXPECT_EQ(got.size(), std::max(a.size(), b.size()));
    size_t sung = 0;
    // The mix opens on the clip: its first 5 ms (220 frames) fade in from silence.
    EXPECT_EQ(got[0], 0);
    EXPECT_EQ(got[1], 0);
    for (size_t i = 2 * 220; i < got.size(); ++i) {
        // The clip: 4410 frames of (1000, -2000) from frame 0, gain 1, pan 0.
        int expected = i < 2u * 4410u ? (i % 2 == 0 ? 1000 : -2000) : 0;
        expected += i < a.size() ? a[i] : 0;
        expected += i < b.size() ? b[i] : 0;
        ASSERT_EQ(got[i], expected) << "sample " << i;
        sung += (i < a.size() && a[i] != 0) ? 1 : 0;
    }
    EXPECT_GT(sung, 0u);
    // Pan 0.5 halves track A's left side: left = trunc(s * 0.5), right = s.
    for (size_t f = 0; 2 * f + 1 < a.size(); ++f)
        ASSERT_EQ(a[2 * f], static_cast<int16_t>(a[2 * f + 1] * 0.5f)) << "frame " << f;
}

TEST_F(AppSingingTest, ProgressBarOnlyOnATerminalAndNotQuiet)
{
    struct Case {
        bool terminal;
        bool quiet;
        bool bar;
    };
    const std::string path = project();
    for (const Case c : {Case{true, false, true}, Case{true, true, false}, Case{false, false, false}}) {
        HalvorenEnvironment e = env();
        e.stderrIsTerminal = c.terminal;
        std::vector<std::string> args = {path, "--mixdown", dir_.file("bar.wav")};
        if (c.quiet)
            args.push_back("--quiet");
        testing::internal::CaptureStderr();
        EXPECT_EQ(halvorenMain(args, e), 0);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.find("Export WAV [") != std::string::npos, c.bar) << err;
        EXPECT_EQ(err.find("[##############################] writing file... 100%") != std::string::npos, c.bar)
            << err;
    }
}

TEST_F(AppSingingTest, InterruptCancelsTheExportWithoutAFile)
{
    // Slow singing: the interrupt comes long before the end.
    setInterruptRequested(true);
    const std::string mix = dir_.file("cut.wav");
    EXPECT_EQ(halvorenMain({project(), "--mixdown", mix}, env({.frameDelayUs = 2000})), 130);
    EXPECT_FALSE(fs::exists(mix));
    EXPECT_FALSE(fs::exists(mix + ".part"));
}

TEST_F(AppSingingTest, StreamWaitsForEveryFirstSynthesizer)
{
    std::atomic<bool> hold{true};
    getSingerList()->loadFromFolder();
    SegmentSynthMgr synths(*env({.holdAtFrame = 2, .hold = &hold}).makers);
    CSSSynthesizerDoc doc;
    doc.setModel(loadProjectFile(CString::fromUtf8(project())), CString());
    AudioStreamGroup group;
    ASSERT_TRUE(group.player().hasStream());
    {
        PlaybackSession session(doc, synths, group);
        ASSERT_TRUE(session.start(doc.measureToTick(1), doc.getProjectEndTick()));
        // One source per sung segment and one for the clip.
        EXPECT_EQ(group.trackList(0).size() + group.trackList(1).size() + group.trackList(2).size(), 3u);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(session.gateOpen());  // both first synthesizers are held short of 220500 samples
        hold = false;
        // Each track's output is shorter than 220500 samples: the gate opens
        // when both have finished.
        ASSERT_TRUE(eventually([&] { return session.gateOpen(); }));
        session.startStream();
        EXPECT_TRUE(doc.isPlaying);
        ASSERT_TRUE(eventually([&] { return session.finished(); }));
    }
    EXPECT_FALSE(doc.isPlaying);
    EXPECT_EQ(group.trackListCount(), 0);
}

TEST_F(AppSingingTest, PlaybackLastsAsLongAsItsSources)
{
    // A clip of 2 s (88200 frames) at measure 1 and nothing else.
    hvtest::ByteBuilder samples;
    for (int i = 0; i < 88200; ++i)
        samples.u16(static_cast<uint16_t>(500));
    hvtest::writeBytes(dir_.file("two.wav"), hvtest::simpleWav(1, 1, 44100, 16, hvtest::toBytes(samples)));
    auto m = markersOnly();
    addClip(*addTrack(*m, kInstrumentTrack, "Piano"), 7680, 3840, 44100, 88200)->audioPath = dir_.file("two.wav");
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(dir_.file("two.ot"))), 0);
    CSSSynthesizerDoc doc;
    doc.setModel(loadProjectFile(CString::fromUtf8(dir_.file("two.ot"))), CString());
    SegmentSynthMgr synths(*env().makers);
    AudioStreamGroup group;
    PlaybackSession session(doc, synths, group);
    ASSERT_TRUE(session.start(doc.measureToTick(1), doc.getProjectEndTick()));
    ASSERT_TRUE(session.gateOpen());  // no synthesizer to wait for
    const auto start = std::chrono::steady_clock::now();
    session.startStream();
    ASSERT_TRUE(eventually([&] { return session.finished(); }));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // 2 s within 5 %, plus the output latency and the polling on the late side.
    EXPECT_GE(seconds, 1.9);
    EXPECT_LE(seconds, 2.1 + 0.2);
}

}  // namespace
