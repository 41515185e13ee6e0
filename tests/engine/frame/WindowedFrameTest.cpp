#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "dsp/SampleOutWriter.h"

using HalvorenEngine::OutputBuffer;
using HalvorenEngine::SampleOutWriter;

namespace {
constexpr int kSize = 512;

// A 4-term Blackman-Harris window over kSize points scaled to sum 1, in double.
std::vector<double> blackmanHarris()
{
    std::vector<double> w(kSize);
    double sum = 0.0;
    for (int i = 0; i < kSize; ++i) {
        const double x = 2.0 * std::numbers::pi * i / (kSize - 1);
        w[i] = 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
        sum += w[i];
    }
    for (double& v : w)
        v /= sum;
    return w;
}

// The writer's window of kSize at hop h, worked in double: the Blackman-Harris
// window with its 2h central entries divided into the triangle (r + 0.5) / h.
std::vector<double> referenceWindow(int h)
{
    std::vector<double> w = blackmanHarris();
    for (int i = 0; i < 2 * h; ++i) {
        const int r = i < h ? i : 2 * h - 1 - i;
        w[kSize / 2 - h + i] = (r + 0.5) / h / w[kSize / 2 - h + i];
    }
    return w;
}

std::vector<float> gaussian(std::mt19937& rng, double sigma)
{
    std::normal_distribution<float> draw(0.0f, static_cast<float>(sigma));
    std::vector<float> v(kSize);
    for (float& x : v)
        x = draw(rng);
    return v;
}
}  // namespace

TEST(WindowedFrame, EverySampleIsWithinOneStepOfTheDoubleSum)
{
    for (int hop : {64, 128, 200, 256}) {
        SCOPED_TRACE(hop);
        std::mt19937 rng(hop);
        const std::vector<double> w = referenceWindow(hop), bh = blackmanHarris();
        const double cap = w[kSize / 2];
        constexpr int kFrames = 6;
        OutputBuffer buffer(4096);
        SampleOutWriter writer(buffer, kSize, hop);
        ASSERT_TRUE(writer.appendZeros(kFrames));
        std::vector<double> expected(static_cast<std::size_t>((kFrames + 1) * hop), 0.0);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        for (int k = 0; k < kFrames; ++k) {
            // Harmonics carry the Blackman-Harris shape; noise does not.
            std::vector<float> harm = gaussian(rng, 1e-2), noise = gaussian(rng, 5e-5), curve(kSize);
            for (int i = 0; i < kSize; ++i) {
                harm[i] *= static_cast<float>(bh[i]);
                curve[i] = unit(rng);
            }
            writer.addWindowedFrame(k, curve.data(), noise.data(), harm.data());
            const int o = kSize / 2 - hop;
            for (int j = 0; j < 2 * hop && k * hop + j < static_cast<int>(expected.size()); ++j)
                expected[k * hop + j] += 32767.0 * (w[o + j] * harm[o + j] +
                                                    std::min(w[o + j], cap) * double(noise[o + j]) * curve[o + j]);
        }
        writer.finish();
        int worst = 0;
        for (std::size_t s = 0; s < expected.size(); ++s)
            worst = std::max(worst, static_cast<int>(std::abs(writer.data()[s] - std::trunc(expected[s]))));
        EXPECT_LE(worst, 1);
    }
}

TEST(WindowedFrame, NoiseKeepsItsPowerAcrossTheHopWhereTheWindowSwellsTowardsItsEdges)
{
    // At hop 256 the window's edge entries are far above its centre value;
    // uncapped, the noise would burst at every frame edge.
    constexpr int kHop = 256;
    constexpr int kFrames = 1000;
    constexpr int kBlock = 16;
    std::mt19937 rng(7);
    OutputBuffer buffer(4096);
    SampleOutWriter writer(buffer, kSize, kHop);
    ASSERT_TRUE(writer.appendZeros(kFrames));
    const std::vector<float> ones(kSize, 1.0f), silence(kSize, 0.0f);
    for (int k = 0; k < kFrames; ++k)
        writer.addWindowedFrame(k, ones.data(), gaussian(rng, 1e-4).data(), silence.data());
    writer.finish();

    std::vector<double> power(kHop / kBlock, 0.0);
    // Frames 1 .. kFrames - 1 overlap two at a time.
    for (int s = kHop; s < kFrames * kHop; ++s)
        power[(s % kHop) / kBlock] += double(writer.data()[s]) * writer.data()[s];
    const auto [lo, hi] = std::minmax_element(power.begin(), power.end());
    // 32767 * about 183 * 1e-4 * sqrt(2): an RMS near 850.
    EXPECT_GT(std::sqrt(*lo / ((kFrames - 1) * kBlock)), 400.0);
    EXPECT_LT(10.0 * std::log10(*hi / *lo), 2.0);
}

TEST(WindowedFrame, CurveWeighsOnlyTheNoiseAndBelowHop160TheCapNeverBinds)
{
    constexpr int kHop = 128;
    const std::vector<float> level(kSize, 1e-4f), zero(kSize, 0.0f), half(kSize, 0.5f);
    auto render = [&](const std::vector<float>& curve, const std::vector<float>& noise,
                      const std::vector<float>& harm) {
        OutputBuffer buffer(4096);
        SampleOutWriter writer(buffer, kSize, kHop);
        EXPECT_TRUE(writer.appendZeros(2));
        writer.addWindowedFrame(0, curve.data(), noise.data(), harm.data());
        EXPECT_EQ(writer.framesWritten(), 1);
        writer.finish();
        return std::vector<short>(writer.data(), writer.data() + 2 * kHop);
    };
    // The same frame as noise or as harmonics lands on the same samples.
    EXPECT_EQ(render(std::vector<float>(kSize, 1.0f), level, zero), render(zero, zero, level));
    // A curve of 0 silences the noise and leaves the harmonics.
    EXPECT_EQ(render(zero, level, level), render(zero, zero, level));
    const std::vector<short> halved = render(half, level, zero);
    const std::vector<short> full = render(std::vector<float>(kSize, 1.0f), level, zero);
    for (int j = 0; j < 2 * kHop; ++j)
        EXPECT_NEAR(halved[j], full[j] / 2, 1) << j;
}

TEST(WindowedFrame, MissingPartsWriteNothing)
{
    OutputBuffer buffer(4096);
    SampleOutWriter writer(buffer, kSize, 128);
    ASSERT_TRUE(writer.appendZeros(2));
    const std::vector<float> frame(kSize, 1e-3f);
    writer.addWindowedFrame(0, nullptr, frame.data(), frame.data());
    writer.addWindowedFrame(0, frame.data(), nullptr, frame.data());
    writer.addWindowedFrame(0, frame.data(), frame.data(), nullptr);
    EXPECT_EQ(writer.framesWritten(), 0);
    writer.finish();
    EXPECT_EQ(std::count(writer.data(), writer.data() + writer.length(), 0), writer.length());
}
