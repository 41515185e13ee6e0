#include <gtest/gtest.h>

#include <numeric>

#include "dsp/EngineGhrBuilder.h"
#include "dsp/EngineHprBuilder.h"

using namespace Halvoren;

namespace {

struct Settings {
    int peakCount;
    float thresholdDb, a, b, c, d;
};

void expectSettings(const HarmonicsDetector& detector, const Settings& s, const char* what)
{
    EXPECT_EQ(detector.peakCount, s.peakCount) << what;
    EXPECT_EQ(detector.thresholdDb, s.thresholdDb) << what;
    EXPECT_EQ(detector.setA, s.a) << what;
    EXPECT_EQ(detector.setB, s.b) << what;
    EXPECT_EQ(detector.setC, s.c) << what;
    EXPECT_EQ(detector.setD, s.d) << what;
    EXPECT_EQ(detector.fixed100, 100) << what;
    EXPECT_EQ(detector.fftSize, 4096) << what;
}

TEST(AnalysisBuilders, DetectorDefaultsAndBuilderSettings)
{
    HarmonicsDetector bare(44100.0f);
    expectSettings(bare, {441, -90.0f, 0.01f, 0.02f, 7.0f, 0.16f}, "bare detector");
    HalvorenEngineV3::EngineHprBuilder v3(44100.0f);
    expectSettings(v3.detector(), {128, -100.0f, 0.01f, 0.01f, 7.0f, 0.16f}, "V3 builder");
    HalvorenEngineV4::EngineHprBuilder v4(44100.0f);
    expectSettings(v4.detector(), {128, -100.0f, 0.01f, 0.01f, 7.0f, 0.16f}, "V4 builder");
    HalvorenEngineV3::EngineGhrBuilder ghr(44100.0f);
    expectSettings(ghr.detector(), {128, -100.0f, 0.01f, 0.01f, 7.0f, 0.16f}, "GHR builder");
    EXPECT_EQ(ghr.bankLarge.binCount, 2049);
    EXPECT_EQ(ghr.bankSmall.binCount, 257);
    EXPECT_EQ(ghr.sampleRate, 44100.0f);
}

TEST(AnalysisBuilders, DetectionWindowIsBuiltOnce)
{
    HalvorenEngineV3::EngineHprBuilder builder(44100.0f);
    HarmonicsDetector& detector = builder.detector();
    ASSERT_TRUE(detector.detectWindow);
    EXPECT_EQ(detector.detectWindow->length, 1201);
    EXPECT_EQ(detector.windowLength, 1201);
    const auto& w = detector.detectWindow->w;
    EXPECT_NEAR(std::accumulate(w.begin(), w.end(), 0.0), 1.0, 1e-6);
    // Blackman with both ends 0, peak at the middle sample 600.
    EXPECT_EQ(w.front(), 0.0f);
    EXPECT_EQ(w.back(), 0.0f);
    const AnalysisWindow* before = detector.detectWindow.get();
    detector.configure(5, -50.0f, 1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_EQ(detector.detectWindow.get(), before);
    EXPECT_EQ(detector.peakCount, 5);
}

TEST(AnalysisBuilders, SynthesisWindowDividesTheTriangleByTheAnalysisWindow)
{
    HalvorenEngineV4::EngineHprBuilder builder(44100.0f);
    ResidualFetcher& fetcher = builder.fetcher();
    EXPECT_EQ(fetcher.hop, 128);
    EXPECT_EQ(fetcher.scale, 32767.0f);
    ASSERT_TRUE(fetcher.synthesisWindow);
    const auto& w = fetcher.synthesisWindow->w;
    ASSERT_EQ(w.size(), 4096u);
    struct Case {
        int index;
        float value;
        float tolerance;
    };
    // The normalised Blackman-Harris window is about 1 / 1469.08 in the
    // middle: (127.5 / 128) * 1469.08 = 1463.34; (0.5 / 128) * 1502.0 at the
    // triangle's ends; sample 0 keeps 6e-5 / 1469.08 = 4.084e-8.
    const Case cases[] = {
        {2048, 1463.343f, 0.01f}, {1920, 5.86736f, 1e-4f}, {2175, 5.86736f, 1e-4f}, {0, 4.084e-8f, 1e-10f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(w[std::size_t(c.index)], c.value, c.tolerance) << c.index;
    EXPECT_NEAR(std::accumulate(fetcher.analysisWindow.w.begin(), fetcher.analysisWindow.w.end(), 0.0), 1.0, 1e-5);

    const std::vector<float> copy = w;
    const AnalysisWindow* before = fetcher.synthesisWindow.get();
    fetcher.buildWindows();
    EXPECT_EQ(fetcher.synthesisWindow.get(), before);
    EXPECT_EQ(fetcher.synthesisWindow->w, copy);
}

}  // namespace
