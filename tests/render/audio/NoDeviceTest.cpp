// Without any output device the players say so and go on silently.
#include <gtest/gtest.h>

#include <portaudio.h>

#include "AlsaEnv.h"
#include "TestSources.h"
#include "model/document/SSSynthesizerDoc.h"
#include "render/audio/AudioSingleton.h"
#include "render/audio/DocPlayersInstall.h"
#include "render/audio/InstrumentClipAudioMgr.h"
#include "render/audio/PaPlayer.h"

using audiotest::ramp;
using audiotest::VecSrc;

class NoDevice : public testing::Test {
protected:
    audiotest::AlsaConfig alsa_{HV_NO_DEVICE_CONF};
};

TEST_F(NoDevice, GroupSaysSoAndStillOwnsMixesAndCommitsItsSources) {
    testing::internal::CaptureStderr();
    AudioStreamGroup group;
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Error: No default output device.\n"), std::string::npos) << err;
    EXPECT_FALSE(group.player().hasStream());

    group.setTrackCount(2);
    auto *a = new VecSrc(ramp(10)), *b = new VecSrc(ramp(10)), *c = new VecSrc(ramp(10));
    group.addSource(1, a);
    group.addSource(0, b);
    group.addSource(1, c);
    group.addSource(1, a);  // already there
    VecSrc stray(ramp(1));
    EXPECT_FALSE(group.addSource(2, &stray));  // no such list: stays the caller's
    group.setGain(1, 0.5f);  // what the document sets reaches every source of the track
    group.setPan(1, 0.25f);
    EXPECT_EQ(std::vector<float>({a->gain, c->gain, c->pan, b->gain, b->pan}),
              std::vector<float>({0.5f, 0.5f, 0.25f, 1.0f, 0.0f}));

    group.restart();
    EXPECT_TRUE(group.isPlaying());
    EXPECT_EQ(group.player().mixList, (std::vector<AudioSrc*>{b, a, c}));
    group.abort();
    EXPECT_FALSE(group.isPlaying());
    group.setTrackCount(1);  // deletes the sources; the player forgets them
    EXPECT_TRUE(group.player().mixList.empty());
}

TEST_F(NoDevice, LibraryErrorsAreReportedInThreeLines) {
    testing::internal::CaptureStderr();
    printPaError(paInvalidDevice);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "An error occured while using the portaudio \nError number: -9996\nError message: Invalid device\n");
}

TEST_F(NoDevice, DocumentGetsTheRealPlayers) {
    installDocPlayers();
    {
        CSSSynthesizerDoc doc;
        EXPECT_NE(dynamic_cast<AudioStreamGroup*>(&doc.trackMix()), nullptr);
        EXPECT_NE(dynamic_cast<CInstrumentClipAudioMgr*>(&doc.clipAudio()), nullptr);
    }
    setDocPlayersFactory({});
}

// A buffer played before the start time of the current start is taken has
// no position to report: measured from the previous start it would jump.
TEST_F(NoDevice, NoPositionBeforeTheStartTimeIsTaken) {
    struct Positions : AudioStreamListener {
        void onPlayPosition(double s) override { seen.push_back(s); }
        void onPlayFinished(double) override {}
        std::vector<double> seen;
    } positions;
    testing::internal::CaptureStderr();
    PaPlayer player;
    testing::internal::GetCapturedStderr();
    VecSrc source(ramp(2000));  // longer than one buffer of 256 frames
    player.mixList = {&source};
    player.setListener(&positions);
    std::vector<int16_t> out(2 * PaPlayer::kFramesPerBuffer);
    player.resetFramesPlayed();
    player.process(out.data(), PaPlayer::kFramesPerBuffer);
    EXPECT_TRUE(positions.seen.empty());
    player.takeStartTime();
    player.process(out.data(), PaPlayer::kFramesPerBuffer);
    EXPECT_EQ(positions.seen.size(), 1u);
    player.setListener(nullptr);
}
