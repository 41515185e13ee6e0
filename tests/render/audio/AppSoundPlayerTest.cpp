// The preview tone, its glide and its release, driven without a device.
#include <gtest/gtest.h>

#include "AlsaEnv.h"
#include "render/audio/AppSoundPlayer.h"

class PreviewTone : public testing::Test {
protected:
    void SetUp() override { audiotest::useAlsaConfig(HV_NO_DEVICE_CONF); }

    static std::vector<int16_t> play(CAppSoundPlayer& p, int buffers = 1) {
        std::vector<int16_t> out(512);
        for (int i = 0; i < buffers; ++i) p.group().player().process(out.data(), 256);
        return out;
    }
};

TEST_F(PreviewTone, ToneSoundsAtHalfGainThenStopFadesItOut) {
    CAppSoundPlayer& p = getAppSoundPlayer();
    p.playTone(30.0f);  // clamped to 50 Hz
    EXPECT_TRUE(p.isToneOn());
    const auto& tone = p.tone().toneBuf();
    EXPECT_EQ(tone[1000], tone[1000 + 882]);
    EXPECT_EQ(p.source().length, 44100);
    play(p);
    const auto out = play(p);  // frames 256..511, the same on both sides
    EXPECT_EQ(out[20], static_cast<int16_t>(tone[266] * 0.5f));
    EXPECT_EQ(out[21], out[20]);

    p.stopTone();
    EXPECT_FALSE(p.isToneOn());
    EXPECT_EQ(p.source().length, 512 + 121);
    EXPECT_EQ(tone[512 + 120], 0);
    p.stopTone();  // nothing sounds: nothing changes
    EXPECT_EQ(p.source().length, 512 + 121);

    p.playTone(441.0f);  // after a stop: a fresh tone from its start
    EXPECT_EQ(p.source().length, 44100);
    p.source().readPos = 44100 - 30;
    p.stopTone();  // within the last 120 samples: ends at the last one
    EXPECT_EQ(p.source().length, 44100);

    destroyAppSoundPlayer();  // the next use builds a new one
    EXPECT_FALSE(getAppSoundPlayer().isToneOn());
}

TEST_F(PreviewTone, SecondKeyGlidesFromTheCurrentSample) {
    CAppSoundPlayer p;
    p.playTone(441.0f);
    play(p, 2);
    const std::vector<int16_t> old = p.tone().toneBuf();
    p.playTone(882.0f);
    EXPECT_EQ(p.source().readPos, 0);
    EXPECT_NEAR(p.tone().toneBuf()[0], old[512] * 119 / 120.0, 1.0);

    play(p, 200);  // played to its end, never released: the same path
    EXPECT_TRUE(p.isToneOn());
    p.playTone(441.0f);
    EXPECT_EQ(p.source().readPos, 0);
    EXPECT_EQ(p.tone().toneBuf()[0], 0);
}
