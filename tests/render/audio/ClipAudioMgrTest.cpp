// Scrubbing blocks, driven buffer by buffer without a device.
#include <gtest/gtest.h>

#include "AlsaEnv.h"
#include "render/audio/InstrumentClipAudioMgr.h"
#include "support/model_document/ProjectBuilder.h"

using namespace HVCurrentModel;

namespace {

constexpr int kBlockBuffers = (CInstrumentClipAudioMgr::kBlockFrames + 255) / 256;

// A loaded clip at full volume whose left samples are first, first + 1, ...
// and whose right samples (stereo only) are their negatives.
InstrumentSegment* addClip(Track& t, int pos, int channels, int frames, int first) {
    auto* seg = new InstrumentSegment(pos, 1920);
    seg->sampleRate = 44100;
    seg->frames = frames;
    seg->channels = channels;
    std::vector<int16_t> left, right;
    for (int i = 0; i < frames; ++i) left.push_back(static_cast<int16_t>((first + i) % 30000));
    if (channels == 2)
        for (int16_t v : left) right.push_back(static_cast<int16_t>(-v));
    seg->left = left;
    seg->right = right;
    insertSegmentSorted(*t.instSegs, seg);
    t.volume = 100;
    return seg;
}

// 120 BPM (960 ticks = 1 s): a singing track, then a mono clip at tick 0 and
// a stereo clip at tick 960 on an instrumental track.
std::unique_ptr<HalvorenModel> project(int firstValue = 1) {
    auto m = projtest::markersOnly();
    projtest::addTrack(*m, kSingingTrack);
    Track* inst = projtest::addTrack(*m, kInstrumentTrack);
    addClip(*inst, 0, 1, 44100, firstValue);
    addClip(*inst, 960, 2, 44100, firstValue + 5000);
    return m;
}

class ClipScrub : public testing::Test {
protected:
    audiotest::AlsaConfig alsa_{HV_NO_DEVICE_CONF};

    // One buffer as the stream would play it.
    std::vector<int16_t> play() {
        std::vector<int16_t> out(512);
        mgr.group().player().process(out.data(), 256);
        return out;
    }
    // Plays until the queue is down to `size`; the number of buffers played.
    int playUntilQueued(size_t size) {
        int n = 0;
        for (; mgr.pendingTicks().size() > size && n < 2000; ++n) play();
        return n;
    }

    CInstrumentClipAudioMgr mgr;
};

}  // namespace

TEST_F(ClipScrub, FirstRequestPlaysOneBlockOfEveryClipFromTheMarker) {
    auto m = project();
    mgr.playClipsAt(240, m->tempos, m->tracks);  // 0.25 s: inside the mono clip
    ASSERT_EQ(mgr.group().player().mixList.size(), 2u);
    EXPECT_EQ(mgr.group().player().mixList[1]->startDelay, 33075);  // the stereo clip waits 0.75 s

    const auto out = play();  // both sides from the mono clip's one array
    EXPECT_EQ((std::vector<int>{out[0], out[1]}), (std::vector<int>{1 + 11025, 1 + 11025}));
    // The block ends once the waiting clip has played its block too.
    EXPECT_EQ(1 + playUntilQueued(0), (33075 + 2205 + 255) / 256);
}

TEST_F(ClipScrub, BurstKeepsThePlayingBlockTheNextFourAndTheNewest) {
    auto m = project();
    mgr.playClipsAt(1000, m->tempos, m->tracks);
    for (int tick = 1010; tick < 1110; tick += 10) mgr.playClipsAt(tick, m->tempos, m->tracks);
    EXPECT_EQ(mgr.pendingTicks(), (std::vector<int>{1000, 1010, 1020, 1030, 1040, 1100}));

    EXPECT_EQ(playUntilQueued(5), kBlockBuffers);
    // 1010 ticks: past the mono clip, 2296 frames into the stereo one.
    const auto out = play();
    EXPECT_NEAR(out[0], 5001 + 2296, 1);
    EXPECT_NEAR(out[1], -(5001 + 2296), 1);
}

TEST_F(ClipScrub, NeverReadsADeletedProjectAndHearsTheClipsOfANewOne) {
    auto first = project(1);
    mgr.playClipsAt(0, first->tempos, first->tracks);
    mgr.playClipsAt(480, first->tempos, first->tracks);
    first.reset();
    playUntilQueued(1);
    EXPECT_EQ(play()[0], 1 + 22050);  // from the copy taken when it was queued
    playUntilQueued(0);

    auto same = project(7);  // the same layout, other samples
    mgr.playClipsAt(0, same->tempos, same->tracks);
    EXPECT_EQ(play()[0], 7);
    playUntilQueued(0);

    auto other = projtest::markersOnly();  // other tracks and clips
    Track* t = projtest::addTrack(*other, kInstrumentTrack);
    for (int v : {300, 20, 1}) addClip(*t, 0, 1, 5000, v);
    mgr.playClipsAt(0, other->tempos, other->tracks);
    EXPECT_EQ(mgr.group().player().mixList.size(), 3u);
    EXPECT_EQ(play()[0], 321);
}

TEST_F(ClipScrub, MutedClipsHoldTheBlockAndDamagedOnesReadOnlyWhatExists) {
    auto m = projtest::markersOnly();
    Track* t = projtest::addTrack(*m, kInstrumentTrack);
    InstrumentSegment* cut = addClip(*t, 0, 2, 4000, 1);  // claims 4000 frames, holds 100 on the right
    cut->right = std::vector<int16_t>(cut->right.begin(), cut->right.begin() + 100);
    addClip(*t, 0, 3, 4000, 1);                      // a channel layout that is never read
    Track* muted = projtest::addTrack(*m, kInstrumentTrack);
    addClip(*muted, 192, 1, 44100, 9000);  // 0.2 s later: the block waits for it, unheard
    muted->muted = true;
    mgr.playClipsAt(0, m->tempos, m->tracks);
    const auto out = play();
    EXPECT_EQ((std::vector<int>{out[2 * 99], out[2 * 99 + 1], out[2 * 100]}), (std::vector<int>{100, -100, 0}));
    // Past the 100 frames, only the muted clip still plays: silence.
    int buffers = 1;
    for (; !mgr.pendingTicks().empty() && buffers < 100; ++buffers) ASSERT_EQ(play(), std::vector<int16_t>(512));
    EXPECT_EQ(buffers, (8820 + 2205 + 255) / 256);
}
