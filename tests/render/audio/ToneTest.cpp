#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "dsp/FastMath.h"
#include "render/audio/ToneAudioMgr.h"
#include "render/audio/ToneMath.h"

namespace {

constexpr int kLen = CToneAudioMgr::kToneLength;

// The tone's sine evaluated in double precision from its defining fit.
double refSine(double x) {
    const double y = (std::trunc(x * 0.15915494) + (x >= 0 ? 0.5 : -0.5)) * 6.2831855 - x;
    const double q = 1.2732395 * y - 0.40528473 * y * std::fabs(y);
    return q * (0.7763302 + std::copysign(0.2230851, y) * q);
}

int periodOf(const std::vector<int16_t>& buf) {
    for (int p = 2; p < 2000; ++p) {
        bool same = true;
        for (int i = 1000; i < 3000 && same; ++i) same = buf[i] == buf[i + p];
        if (same) return p;
    }
    return 0;
}

}  // namespace

TEST(ToneMath, FastPow2AndTheHarmonicWeights) {
    for (float p = -30.0f; p <= 30.0f; p += 0.37f) EXPECT_NEAR(fastPow2(p) / std::exp2(p), 1.0, 1e-4) << p;
    EXPECT_EQ(fastPow2(std::numeric_limits<float>::quiet_NaN()), fastPow2(-126.0f));
    EXPECT_EQ(fastPow2(-500.0f), fastPow2(-126.0f));

    // The stated values come from a log2 fit with longer constants than the
    // one used here: r is compared to a relative 1e-5, and each weight under
    // a relative 2e-5, the error that r's difference (2.4e-6) gives through
    // its exponent.
    const float r = Halvoren::fastLog2(10.0f);
    EXPECT_NEAR(r, 3.3218644, 3.3218644 * 1e-5);
    EXPECT_NEAR(fastPow2(-r), 0.1000028, 0.1000028 * 2e-5);
    EXPECT_NEAR(fastPow2(-2.0f * r), 0.0100008, 0.0100008 * 2e-5);
    EXPECT_NEAR(fastPow2(-3.0f * r), 0.0010001, 0.0010001 * 2e-5);
}

TEST(ToneAudioMgr, PeriodIsClampedAndTheToneMatchesItsDefinitionWithFades) {
    CToneAudioMgr tone;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, int> periods[] = {{30.0f, 882}, {nan, 882}, {20000.0f, 4}, {441.0f, 100}};
    for (const auto& [hz, period] : periods) {
        tone.generate(hz);
        EXPECT_EQ(periodOf(tone.toneBuf()), period) << hz;
    }
    const auto& b = tone.toneBuf();  // 441 Hz
    for (int i = 120; i < 220; ++i) {
        const double t = (i % 100) * 6.283185 / 100;
        const double s = 0.1 * refSine(t) + 0.01 * refSine(2 * t) + 0.001 * refSine(3 * t) + 0.001 * refSine(4 * t);
        EXPECT_NEAR(b[i], std::trunc(s * 32767.0), 1.0) << i;
    }
    for (int i = 0; i < CToneAudioMgr::kFadeLength; ++i) {
        EXPECT_EQ(b[i], static_cast<int16_t>(b[i + 200] * i / 120.0)) << i;
        EXPECT_EQ(b[kLen - 1 - i], static_cast<int16_t>(b[kLen - 1 - i - 200] * i / 120.0)) << i;
    }
}

TEST(ToneAudioMgr, RetuneCrossfadesFromTheOldToneIntoTheNewStart) {
    CToneAudioMgr fresh, tone;
    fresh.generate(882.0f);
    tone.generate(441.0f);
    const std::vector<int16_t> old = tone.toneBuf();
    const auto& b = tone.toneBuf();
    const auto& f = fresh.toneBuf();

    tone.retune(882.0f, 1000);
    for (int k = 0; k < 120; ++k) {
        const double w = (119 - k) / 120.0;
        EXPECT_NEAR(b[k], (1 - w) * f[k] + w * old[1000 + k], 1.0) << k;
    }
    EXPECT_EQ(b[500], f[500]);

    tone.generate(441.0f);
    tone.retune(882.0f, kLen - 50);  // 50 old samples left, then silence
    EXPECT_NEAR(b[60], (1 - 59 / 120.0) * f[60], 1.0);
    tone.retune(882.0f, kLen);  // played to the end: just the new tone
    EXPECT_EQ(b, f);
}

TEST(ToneAudioMgr, ReleaseFadesOutAndSilencesTheRest) {
    CToneAudioMgr tone;
    tone.generate(441.0f);
    const std::vector<int16_t> full = tone.toneBuf();
    const auto& b = tone.toneBuf();
    EXPECT_EQ(tone.release(1010), 1130);
    for (int k = 0; k < 120; ++k) EXPECT_EQ(b[1010 + k], full[1010 + k] * (119 - k) / 120) << k;
    for (int i = 1130; i < kLen; ++i) ASSERT_EQ(b[i], 0) << i;

    // Within the last 120 samples (the first of them too) the fade ends at
    // the last sample, never beyond the buffer.
    for (const int left : {100, 120}) {
        tone.generate(441.0f);
        EXPECT_EQ(tone.release(kLen - left), kLen - 1) << left;
        EXPECT_EQ(b[kLen - left], full[kLen - left] * (left - 1) / left) << left;
    }
    EXPECT_EQ(tone.release(kLen + 5), kLen - 1);
}
