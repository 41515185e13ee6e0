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

// The weights of the noise part at hop h, in double: the window's own when
// none of its 2h central entries exceeds its centre value c, else
// c * sin(pi * (j + 0.5) / 2h).
std::vector<double> noiseWeights(int h)
{
    const std::vector<double> w = referenceWindow(h);
    const double cap = w[kSize / 2];
    std::vector<double> v(w.begin() + (kSize / 2 - h), w.begin() + (kSize / 2 + h));
    if (std::none_of(v.begin(), v.end(), [cap](double x) { return x > cap; }))
        return v;
    for (int j = 0; j < 2 * h; ++j)
        v[j] = cap * std::sin(std::numbers::pi * (j + 0.5) / (2 * h));
    return v;
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
        const std::vector<double> w = referenceWindow(hop), bh = blackmanHarris(), v = noiseWeights(hop);
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
                expected[k * hop + j] +=
                    32767.0 * (w[o + j] * harm[o + j] + v[j] * double(noise[o + j]) * curve[o + j]);
        }
        writer.finish();
        int worst = 0;
        for (std::size_t s = 0; s < expected.size(); ++s)
            worst = std::max(worst, static_cast<int>(std::abs(writer.data()[s] - std::trunc(expected[s]))));
        EXPECT_LE(worst, 1);
    }
}

TEST(WindowedFrame, NoiseKeepsItsPowerAcrossTheHopAndFadesNextToSilence)
{
    // From hop 163 the window's edge entries pass its centre value (at 256
    // far above it); uncapped, the noise would burst at every frame edge.
    // Bursts of kRun frames with kGap silent frames between them.
    constexpr int kBursts = 60, kRun = 20, kGap = 4, kEdge = 16;
    for (int hop : {163, 200, 256}) {
        SCOPED_TRACE(hop);
        std::mt19937 rng(7);
        OutputBuffer buffer(4096);
        SampleOutWriter writer(buffer, kSize, hop);
        ASSERT_TRUE(writer.appendZeros(kBursts * (kRun + kGap)));
        const std::vector<float> ones(kSize, 1.0f), silence(kSize, 0.0f);
        for (int b = 0; b < kBursts; ++b)
            for (int k = 0; k < kRun; ++k)
                writer.addWindowedFrame(b * (kRun + kGap) + k, ones.data(), gaussian(rng, 1e-4).data(),
                                        silence.data());
        writer.finish();
        const short* x = writer.data();
        auto power = [x](int from, int count) {
            double sum = 0.0;
            for (int n = from; n < from + count; ++n)
                sum += double(x[n]) * x[n];
            return sum;
        };

        // A burst's frames k0 .. k0 + kRun - 1 cover k0 h .. (k0 + kRun + 1) h;
        // two of them overlap from (k0 + 1) h to (k0 + kRun) h.
        std::vector<double> block(8, 0.0);
        double level = 0.0, first = 0.0, last = 0.0;
        for (int b = 0; b < kBursts; ++b) {
            const int start = b * (kRun + kGap) * hop, end = start + (kRun + 1) * hop;
            for (int n = start + hop; n < end - hop; ++n)
                block[(n - start) % hop * 8 / hop] += double(x[n]) * x[n];
            level += power(start + hop, (kRun - 1) * hop);
            first += power(start, kEdge);
            last += power(end - kEdge, kEdge);
        }
        level /= kBursts * (kRun - 1) * hop;
        // 32767 * c * 1e-4, c = (1 - 0.5 / h) / (1 / 183.7), the window's
        // centre value: an RMS near 600.
        EXPECT_NEAR(std::sqrt(level), 32767 * (1 - 0.5 / hop) * 183.7 * 1e-4, 30.0);
        const auto [lo, hi] = std::minmax_element(block.begin(), block.end());
        EXPECT_LT(10.0 * std::log10(*hi / *lo), 1.0);
        // The first and last samples of a burst at least 8 dB under its level.
        EXPECT_LT(10.0 * std::log10(first / (kBursts * kEdge) / level), -8.0);
        EXPECT_LT(10.0 * std::log10(last / (kBursts * kEdge) / level), -8.0);
    }
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
