#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/engine/FakeSynth.h"
#include "platform/MessageBox.h"
#include "render/export/SegmentList2WavProcessMgr.h"
#include "render/export/SingTracks2WavsProcessMgr.h"
#include "support/ScratchDir.h"
#include "support/audio/AudioFiles.h"

namespace {

using HalvorenEngineTest::FakeSynth;

using hvtest::wavSamples;

class ExportJobTest : public ::testing::Test {
protected:
    ExportJobTest() : boxes_(&script_) {}
    hvtest::ScratchDir dir_{"export"};
    ScriptedMessageBoxService script_;
    ScopedMessageBoxService boxes_;
};

TEST_F(ExportJobTest, ProgressCountsSungSamplesOnly)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> synths;  // output length, samples done
        bool clip;
        int expected;
    };
    const std::vector<Case> cases = {
        {"no entries", {}, false, 100},
        {"0 of 0", {{0, 0}}, false, 100},
        {"50 of 200", {{200, 50}}, false, 25},     // 50 * 100 / 200
        {"199 of 200", {{200, 199}}, false, 99},   // 99.5 truncated
        {"1 of 1000", {{1000, 1}}, false, 0},      // 0.1 truncated
        {"two synths", {{100, 100}, {300, 0}}, false, 25},  // 100 of 400
        {"clip only", {}, true, 100},
        {"clip beside 50 of 200", {{200, 50}}, true, 25},
    };
    static const int16_t clip[4] = {1, 2, 3, 4};
    for (const Case& c : cases) {
        std::vector<std::unique_ptr<FakeSynth>> synths;
        SegmentList2WavProcessMgr job(CString::fromUtf8(dir_.file("p.wav")));
        for (auto [count, done] : c.synths) {
            synths.push_back(std::make_unique<FakeSynth>(std::vector<short>{}, done));
            synths.back()->countOverride = count;
            job.addSingJob(synths.back().get(), 0, 1.0f, 0.0f);
        }
        if (c.clip)
            job.addClipJob(clip, nullptr, 4, 0, 1.0f, 0.0f);
        EXPECT_FALSE(job.isFinished()) << c.name;
        EXPECT_EQ(job.statusText().toUtf8(), "synthesizing...") << c.name;
        EXPECT_EQ(job.progress(), c.expected) << c.name;
        EXPECT_EQ(job.isFinished(), c.expected == 100) << c.name;
        EXPECT_EQ(job.statusText().toUtf8(), c.expected == 100 ? "writing file..." : "synthesizing...") << c.name;
    }
}

TEST_F(ExportJobTest, StartAndCancelReachEverySynthesizer)
{
    FakeSynth a({1}), b({1});
    SegmentList2WavProcessMgr mix(CString::fromUtf8(dir_.file("m.wav")));
    mix.addSingJob(&a, 0, 1.0f, 0.0f);
    mix.addSingJob(&b, 0, 1.0f, 0.0f);
    mix.start();
    mix.cancel();
    SingTracks2WavsProcessMgr each;
    TrackExportJob track;
    track.addSingJob(&a, 0, 1.0f, 0.0f);
    each.addTrack(track);
    each.start();
    each.cancel();
    EXPECT_EQ(a.starts, 2);
    EXPECT_EQ(a.stops, 2);
    EXPECT_EQ(b.starts, 1);
    EXPECT_EQ(b.stops, 1);
}

TEST_F(ExportJobTest, BlocksAreWrittenAsTheSynthesizerDeliversThem)
{
    // Blocks of 8192 frames. The voice starts at frame 100 and has 3 x 8192
    // samples; done up to 8192 + 50 of them, it has delivered frames up to
    // 100 + 8242 = 8342: the first block only.
    const int block = 8192;
    FakeSynth voice(std::vector<short>(3 * block, 7), block + 50);
    const std::string path = dir_.file("stream.wav");
    const std::string part = path + ".part";
    for (const bool cancel : {false, true}) {
        SegmentList2WavProcessMgr job(CString::fromUtf8(path));
        job.addSingJob(&voice, 100, 1.0f, 0.0f);
        voice.done = block + 50;
        job.progress();
        EXPECT_FALSE(job.deliver());
        ASSERT_EQ(std::filesystem::file_size(part), 44u + block * 4u);  // header, one block of stereo frames
        EXPECT_EQ(job.writtenShare(), 33);  // 8192 of 100 + 3 * 8192 = 24676 frames: 33.2 %
        EXPECT_FALSE(job.deliver());  // nothing more has come
        EXPECT_EQ(std::filesystem::file_size(part), 44u + block * 4u);
        if (cancel) {
            job.cancel();
            EXPECT_FALSE(std::filesystem::exists(part));
            continue;
        }
        voice.done = 3 * block;
        EXPECT_EQ(job.progress(), 100);
        EXPECT_EQ(job.writtenShare(), 33);  // synthesis is done, the file is not
        while (!job.deliver()) {
        }
        EXPECT_EQ(job.writtenShare(), 100);
        job.finish();
        EXPECT_FALSE(job.writeFailed());
        EXPECT_FALSE(std::filesystem::exists(part));
        const std::vector<int16_t> got = wavSamples(path);
        ASSERT_EQ(got.size(), (100u + 3u * block) * 2u);  // 100 + 24576 frames
        EXPECT_EQ(got[99 * 2], 0);
        EXPECT_EQ(got[100 * 2], 7);
        EXPECT_EQ(got.back(), 7);
    }
}

TEST_F(ExportJobTest, MixAppliesGainPanTruncationAndSaturation)
{
    // Voice A: gain 1, pan 0.5 -> gL = 0.5, gR = 1. Samples 30000, -3, 100,
    // from frame 1 (the output opens silent and does not fade in).
    // Voice B: gain 1, pan -0.5 -> gL = 1, gR = 0.5, one frame later.
    // Clip: stereo, gain 0.5, pan 0, starting at frame -1 (its first frame
    // dropped, its silent second one at frame 0).
    FakeSynth a({30000, -3, 100}), b({30000, 7});
    const int16_t clipL[4] = {1000, 0, 30000, 9};
    const int16_t clipR[4] = {-1000, 0, -4, 11};
    const std::string path = dir_.file("mix.wav");
    SegmentList2WavProcessMgr job(CString::fromUtf8(path));
    job.addSingJob(&a, 1, 1.0f, 0.5f);
    job.addSingJob(&b, 2, 1.0f, -0.5f);
    job.addClipJob(clipL, clipR, 4, -1, 0.5f, 0.0f);
    EXPECT_EQ(job.totalFrames(), 4);  // max(1 + 3, 2 + 2, -1 + 4)
    job.finish();
    EXPECT_FALSE(job.writeFailed());
    EXPECT_TRUE(script_.shown.empty());
    const std::vector<int16_t> expected = {
        0, 0,
        // frame 1: L 30000*0.5 + 30000*0.5 = 30000; R 30000 + (-4*0.5 -> -2) = 29998
        30000, 29998,
        // frame 2: L trunc(-3*0.5) = -1, + 30000, + trunc(9*0.5) = 4 -> 30003
        //          R -3 + 15000 + trunc(11*0.5) = 5 -> 15002
        30003, 15002,
        // frame 3: L trunc(100*0.5) = 50 + 7 = 57; R 100 + trunc(7*0.5) = 3 -> 103
        57, 103,
    };
    EXPECT_EQ(wavSamples(path), expected);
    EXPECT_EQ(a.stops, 1);  // each synthesizer stopped once mixed
    EXPECT_EQ(b.stops, 1);
}

// What the output wrote of each voice, as the keep check sees it: its own
// share after gain, pan and truncation, before other sources are added.
TEST_F(ExportJobTest, EachVoiceIsJudgedOnWhatTheOutputWroteOfIt)
{
    struct Case {
        const char* name;
        std::vector<short> samples;
        int startFrame;
        float gain;
        float pan;
        WrittenVoice expected;
    };
    const std::vector<Case> cases = {
        {"zeros", {0, 0, 0}, 1, 1.0f, 0.0f, WrittenVoice::silence},
        // 1 * 0.3 and -2 * 0.3 truncate to 0: a voice in the buffer, none in the file.
        {"faint at gain 0.3", {1, -2, 1}, 1, 0.3f, 0.0f, WrittenVoice::silence},
        {"faint at gain 1", {1, -2, 1}, 1, 1.0f, 0.0f, WrittenVoice::sound},
        {"muted", {1000, 1000}, 1, 0.0f, 0.0f, WrittenVoice::silence},
        // Pan 1: nothing on the left (gL = 0), all of it on the right.
        {"right only", {0, 5}, 1, 1.0f, 1.0f, WrittenVoice::sound},
        // Its sound lies before the output's start: only its zero is written.
        {"sound before the start", {500, 0}, -1, 1.0f, 0.0f, WrittenVoice::silence},
        {"wholly before the start", {500, 500}, -2, 1.0f, 0.0f, WrittenVoice::none},
    };
    for (const Case& c : cases) {
        FakeSynth voice(c.samples, static_cast<int>(c.samples.size()));
        FakeSynth loud({20000, 20000, 20000, 20000});  // summed over it: it does not count for the voice
        FakeSynth absent({100});
        SegmentList2WavProcessMgr job(CString::fromUtf8(dir_.file("judged.wav")));
        job.addSingJob(&voice, c.startFrame, c.gain, c.pan);
        job.addSingJob(&loud, 0, 1.0f, 0.0f);
        std::vector<WrittenVoice> seen;
        job.setKeepCheck([&](const ExportMix& mix) {
            seen = {mix.writtenVoice(&voice), mix.writtenVoice(&loud), mix.writtenVoice(&absent)};
            return true;
        });
        job.finish();
        EXPECT_FALSE(job.writeFailed()) << c.name;
        EXPECT_EQ(seen, (std::vector<WrittenVoice>{c.expected, WrittenVoice::sound, WrittenVoice::none})) << c.name;
    }

    // An output that cannot be written still asks its check, failed, and
    // is not written whatever the check says.
    FakeSynth voice({100});
    SegmentList2WavProcessMgr job(CString::fromUtf8(dir_.file("gone/judged.wav")));
    job.addSingJob(&voice, 0, 1.0f, 0.0f);
    int asked = 0;
    job.setKeepCheck([&](const ExportMix& mix) {
        ++asked;
        EXPECT_TRUE(mix.failed());
        return true;
    });
    job.finish();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(job.writeFailed());
}

TEST_F(ExportJobTest, SumsSaturateAndMonoClipsFeedBothSides)
{
    FakeSynth a({30000, -30000}), b({30000, -30000});
    const int16_t mono[2] = {5, -7};
    const std::string path = dir_.file("sat.wav");
    SegmentList2WavProcessMgr job(CString::fromUtf8(path));
    job.addSingJob(&a, 1, 1.0f, 0.0f);
    job.addSingJob(&b, 1, 1.0f, 0.0f);
    job.addClipJob(mono, nullptr, 2, 3, 1.0f, 0.0f);
    job.finish();
    // 30000 + 30000 clips to 32767, -60000 to -32768; the clip's one channel on both sides.
    EXPECT_EQ(wavSamples(path), (std::vector<int16_t>{0, 0, 32767, 32767, -32768, -32768, 5, 5, -7, -7}));
    // Two frames of two channels were clipped.
    ASSERT_EQ(script_.shown.size(), 1u);
    EXPECT_EQ(script_.shown[0].text, path + "\n4 samples were clipped: the mix is louder than 16 bits can hold");
}

TEST_F(ExportJobTest, AnOutputThatOpensOnASoundFadesIn)
{
    // 5 ms are 220 frames; frame i is scaled by 0.5 - 0.5 cos(pi i / 220):
    // i = 55: 0.5 - 0.5 cos(pi / 4) = 0.14645, 10000 -> 1464.5 -> 1464
    // (1464.47); i = 110: 0.5 -> 5000; i = 219: 0.5 + 0.5 cos(pi / 220) =
    // 0.99995 -> 9999.5 -> 9999 (9999.49); i = 220 on: unchanged.
    const std::vector<short> level(300, 10000);
    for (const int start : {0, 1}) {
        FakeSynth voice(level);
        const std::string path = dir_.file("fade.wav");
        SegmentList2WavProcessMgr job(CString::fromUtf8(path));
        job.addSingJob(&voice, start, 1.0f, 0.0f);
        job.finish();
        const std::vector<int16_t> got = wavSamples(path);
        ASSERT_EQ(got.size(), 2u * (300 + start));
        const std::vector<std::pair<int, int16_t>> frames =
            start == 0 ? std::vector<std::pair<int, int16_t>>{{0, 0}, {55, 1464}, {110, 5000}, {219, 9999}, {220, 10000}}
                       : std::vector<std::pair<int, int16_t>>{{0, 0}, {1, 10000}, {55, 10000}, {220, 10000}};
        for (const auto& [frame, value] : frames) {
            EXPECT_EQ(got[2 * frame], value) << "start " << start << ", frame " << frame;
            EXPECT_EQ(got[2 * frame + 1], value) << "start " << start << ", frame " << frame;
        }
    }
}

TEST_F(ExportJobTest, MutedTrackExtendsButStaysSilent)
{
    FakeSynth a({100, 100}), muted({1000, 1000, 1000, 1000});
    const std::string path = dir_.file("muted.wav");
    SegmentList2WavProcessMgr job(CString::fromUtf8(path));
    job.addSingJob(&a, 1, 1.0f, 0.0f);
    job.addSingJob(&muted, 0, 0.0f, 0.0f);
    EXPECT_EQ(job.totalFrames(), 4);
    job.finish();
    EXPECT_EQ(wavSamples(path), (std::vector<int16_t>{0, 0, 100, 100, 100, 100, 0, 0}));
}

TEST_F(ExportJobTest, NothingToMixWritesNothing)
{
    FakeSynth early({5, 5}, 2);
    const std::string path = dir_.file("empty.wav");
    SegmentList2WavProcessMgr job(CString::fromUtf8(path));
    job.addSingJob(&early, -2, 1.0f, 0.0f);  // ends at frame 0
    EXPECT_EQ(job.totalFrames(), 0);
    EXPECT_EQ(job.progress(), 100);
    job.finish();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(job.writeFailed());
    EXPECT_TRUE(script_.shown.empty());
}

TEST_F(ExportJobTest, OutputLongerThanAWavCanHoldIsRefused)
{
    // A WAV's data size is 32 bits: (2^32 - 1 - 36) / 4 = 1073741814 stereo
    // frames at most. A clip placed just before that end and running past it
    // is refused without allocating the hours of silence before it.
    static const int16_t clip[4] = {1, 2, 3, 4};
    const std::string path = dir_.file("far.wav");
    SegmentList2WavProcessMgr job(CString::fromUtf8(path));
    job.addClipJob(clip, nullptr, 4, 1073741814 - 2, 1.0f, 0.0f);
    EXPECT_EQ(job.totalFrames(), 1073741816);
    job.finish();
    EXPECT_TRUE(job.writeFailed());
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(script_.shown.size(), 1u);
    EXPECT_EQ(script_.shown[0].text, path + "\nWave file output failed...\ntoo long for a WAV file");
}

TEST_F(ExportJobTest, ExtensionDecidesTheFormatInAnyCase)
{
    struct Case {
        const char* name;
        bool written;
        const char* magic;
        const char* format;
    };
    for (const Case& c : std::vector<Case>{{"SONG.WAV", true, "RIFF", "WAV"},
                                           {"song.Mp3", true, "\xFF", "MP3"},
                                           {"song.flac", false, "", "WAV"},
                                           {"song", false, "", "WAV"}}) {
        script_.shown.clear();
        FakeSynth a(std::vector<short>(3000, 1000));
        const std::string path = dir_.file(c.name);
        SegmentList2WavProcessMgr job(CString::fromUtf8(path));
        job.addSingJob(&a, 0, 1.0f, 0.0f);
        EXPECT_EQ(job.formatName().toUtf8(), c.format) << c.name;
        job.finish();
        EXPECT_EQ(std::filesystem::exists(path), c.written) << c.name;
        EXPECT_EQ(job.writeFailed(), !c.written) << c.name;
        EXPECT_FALSE(std::filesystem::exists(path + ".part")) << c.name;
        if (c.written) {
            std::ifstream in(path, std::ios::binary);
            std::string head(4, '\0');
            in.read(head.data(), 4);
            EXPECT_EQ(head.substr(0, std::string(c.magic).size()), c.magic) << c.name;
            EXPECT_TRUE(script_.shown.empty()) << c.name;
        } else {
            ASSERT_EQ(script_.shown.size(), 1u) << c.name;
            EXPECT_EQ(script_.shown[0].text, path + "\nWave file output failed...\nnot a .wav or .mp3 file") << c.name;
            EXPECT_EQ(script_.shown[0].caption, "-_-!") << c.name;
        }
    }
}

TEST_F(ExportJobTest, FailedWriteLeavesTheOldFileAndGoesOn)
{
    // The first track's folder does not exist; the second one is written.
    const std::string missing = dir_.file("gone/a.wav");
    const std::string good = dir_.file("b.wav");
    FakeSynth a({1, 2}), b({3});
    SingTracks2WavsProcessMgr job;
    TrackExportJob first;
    first.outputPath = CString::fromUtf8(missing);
    first.addSingJob(&a, 0, 1.0f, 0.0f);
    TrackExportJob empty;  // no entries: no file
    empty.outputPath = CString::fromUtf8(dir_.file("none.wav"));
    TrackExportJob second;
    second.outputPath = CString::fromUtf8(good);
    second.addSingJob(&b, 1, 1.0f, 0.0f);
    job.addTrack(first);
    job.addTrack(empty);
    job.addTrack(second);
    job.finish();
    EXPECT_TRUE(job.writeFailed());
    ASSERT_EQ(script_.shown.size(), 1u);
    EXPECT_EQ(script_.shown[0].text, missing + "\nWave file output failed...\nNo such file or directory");
    EXPECT_FALSE(std::filesystem::exists(dir_.file("none.wav")));
    EXPECT_EQ(wavSamples(good), (std::vector<int16_t>{0, 0, 3, 3}));  // starts at frame 1
    EXPECT_EQ(a.stops, 1);
    EXPECT_EQ(b.stops, 1);

    // An existing file whose replacement fails keeps its bytes: the
    // temporary file cannot be made where a folder of its name stands.
    const std::string kept = dir_.file("kept.wav");
    std::ofstream(kept) << "old";
    std::filesystem::create_directory(kept + ".part");
    SegmentList2WavProcessMgr again(CString::fromUtf8(kept));
    FakeSynth c({9});
    again.addSingJob(&c, 0, 1.0f, 0.0f);
    again.finish();
    EXPECT_TRUE(again.writeFailed());
    std::ifstream in(kept);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
}

}  // namespace
