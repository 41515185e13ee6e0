// The preview tone, its glide and its release, driven without a device.
#include <gtest/gtest.h>

#include "AlsaEnv.h"
#include "render/audio/AppSoundPlayer.h"

class PreviewTone : public testing::Test {
protected:
    audiotest::AlsaConfig alsa_{HV_NO_DEVICE_CONF};

    static std::vector<int16_t> play(CAppSoundPlayer& p, int buffers = 1) {
        std::vector<int16_t> out(512);
        for (int i = 0; i < buffers; ++i) p.group().player().process(out.data(), 256);
        return out;
    }
};

TEST_F(PreviewTone, ToneSoundsAtHalfGainGlidesToTheNextKeyAndFadesOnStop) {
    CAppSoundPlayer& p = getAppSoundPlayer();
    p.playTone(441.0f);
    EXPECT_TRUE(p.isToneOn());
    const std::vector<int16_t> first = p.tone().toneBuf();
    const auto out = play(p, 2);  // frames 256..511, the same on both sides
    EXPECT_EQ(out[20], static_cast<int16_t>(first[266] * 0.5f));
    EXPECT_EQ(out[21], out[20]);

    p.playTone(882.0f);  // a second key glides from the sample now playing
    EXPECT_EQ(p.source().readPos, 0);
    EXPECT_NEAR(p.tone().toneBuf()[0], first[512] * 119 / 120.0, 1.0);

    play(p);
    p.stopTone();
    EXPECT_FALSE(p.isToneOn());
    EXPECT_EQ(p.source().length, 256 + 121);  // the fade's 120 samples from the playing one

    p.playTone(441.0f);  // after a stop: a fresh tone from its start, no glide
    EXPECT_EQ((std::vector<int>{p.source().length, p.tone().toneBuf()[0]}), (std::vector<int>{44100, 0}));
    play(p, 200);  // played to its end, never released: a glide from silence
    EXPECT_TRUE(p.isToneOn());
    p.playTone(441.0f);
    EXPECT_EQ(p.tone().toneBuf()[0], 0);

    destroyAppSoundPlayer();  // the next use builds a new one
    EXPECT_FALSE(getAppSoundPlayer().isToneOn());
}
