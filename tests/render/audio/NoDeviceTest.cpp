// Without any output device the players say so and go on silently.
#include <gtest/gtest.h>

#include <portaudio.h>

#include "AlsaEnv.h"
#include "TestSources.h"
#include "model/document/SSSynthesizerDoc.h"
#include "render/audio/AudioSingleton.h"
#include "render/audio/DocPlayersInstall.h"
#include "render/audio/InstrumentClipAudioMgr.h"
#include "support/model_document/ProjectBuilder.h"

using audiotest::ramp;
using audiotest::VecSrc;

class NoDevice : public testing::Test {
protected:
    void SetUp() override { audiotest::useAlsaConfig(HV_NO_DEVICE_CONF); }
};

TEST_F(NoDevice, GroupSaysSoAndOwnsCommitsAndPlaysWithoutAStream) {
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

TEST_F(NoDevice, DocumentGetsTheRealPlayersAndItsTrackMixReachesThem) {
    installDocPlayers();
    {
        CSSSynthesizerDoc doc;
        auto model = projtest::markersOnly();
        projtest::addTrack(*model, HVCurrentModel::kSingingTrack)->muted = true;
        HVCurrentModel::Track* inst = projtest::addTrack(*model, HVCurrentModel::kInstrumentTrack);
        inst->volume = 50;
        inst->balance = 0.25f;
        doc.newProject(model.release());

        auto* group = dynamic_cast<AudioStreamGroup*>(&doc.trackMix());
        ASSERT_NE(group, nullptr);
        EXPECT_NE(dynamic_cast<CInstrumentClipAudioMgr*>(&doc.clipAudio()), nullptr);
        group->setTrackCount(2);
        auto *s0 = new VecSrc(ramp(10)), *s1 = new VecSrc(ramp(10));
        group->addSource(0, s0);
        group->addSource(1, s1);
        doc.isPlaying = 1;
        doc.applyTrackMixToPlayers();
        EXPECT_EQ(s0->gain.load(), 0.0f);
        EXPECT_EQ(s1->gain.load(), 0.5f);
        EXPECT_EQ(s1->pan.load(), 0.25f);
        doc.isPlaying = 0;
    }
    setDocPlayersFactory({});
}
