#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <stdexcept>

#include "dsp/GammatoneCentres.h"
#include "dsp/GammatoneFilterBank.h"
#include "dsp/HPR2GHR.h"

using namespace Halvoren;

namespace {

// The fourth-order gammatone magnitude evaluated independently in double
// precision: Patterson-Holdsworth cascade of four sections with the shared
// pole pair, normalised by Slaney's gain at the centre.
double referenceResponse(double cf, int bin, int nfft, double fs)
{
    using cd = std::complex<double>;
    const double pi = std::numbers::pi;
    const double T = 1.0 / fs;
    const double B = 1.019 * 2.0 * pi * (cf / 9.26449 + 24.7);
    const double th = 2.0 * pi * cf * T;
    const double r = std::exp(-B * T);
    const double roots[4] = {std::sqrt(3.0 + std::pow(2.0, 1.5)), -std::sqrt(3.0 + std::pow(2.0, 1.5)),
                             std::sqrt(3.0 - std::pow(2.0, 1.5)), -std::sqrt(3.0 - std::pow(2.0, 1.5))};
    const cd e2 = std::exp(cd(0.0, 2.0 * th));
    cd num = 1.0;
    for (double c : roots)
        num *= -2.0 * e2 * T + 2.0 * std::exp(cd(-B * T, th)) * T * (std::cos(th) + c * std::sin(th));
    const cd den = -2.0 * std::exp(-2.0 * B * T) - 2.0 * e2 + 2.0 * (1.0 + e2) * std::exp(-B * T);
    const double gain = std::abs(num / (den * den * den * den));

    const cd z = std::polar(1.0, 2.0 * pi * bin / nfft);
    const cd pole = std::polar(r, th);
    double value = T * T * T * T / gain;
    for (double c : roots)
        value *= std::abs(z - (std::cos(th) + c * std::sin(th)) * r);
    return value / std::pow(std::abs((z - pole) * (z - std::conj(pole))), 4.0);
}

int peakBin(const GammatoneChannel& channel)
{
    int best = 0;
    for (int b = 1; b < int(channel.response.size()); ++b)
        if (channel.response[std::size_t(b)] > channel.response[std::size_t(best)])
            best = b;
    return best;
}

TEST(GammatoneBank, CentresAreEvenOnTheErbRateScale)
{
    const auto centres = gammatoneCentres();
    // k = 64 gives exp(ln(278.83292) - ln(22278.83292)) * 22278.83292 - Q = 50.
    EXPECT_NEAR(centres[0], 50.0f, 1e-3f);
    // Step (5.630613 - 10.011403) / 64 = -0.0684497; centre 32 is
    // exp(-32 * 0.0684497) * 22278.83292 - 228.83292 = 2263.57.
    EXPECT_NEAR(centres[32], 2263.57f, 0.01f);
    // One step below the top: 0.933841 * 22278.83292 - 228.83292 = 20576.04.
    EXPECT_NEAR(centres[63], 20576.04f, 0.01f);
    for (int k = 1; k < kGammatoneChannels; ++k) {
        const double step = std::log(double(centres[std::size_t(k)]) + 228.83292) -
                            std::log(double(centres[std::size_t(k - 1)]) + 228.83292);
        EXPECT_NEAR(step, 0.0684497, 1e-5) << "channel " << k;
    }

    HPR2GHR converter(44100.0f);
    for (const GammatoneFilterBank* bank : {&converter.bankLarge, &converter.bankSmall}) {
        ASSERT_EQ(bank->centres.size(), centres.size());
        for (std::size_t k = 0; k < centres.size(); ++k)
            EXPECT_EQ(bank->centres[k], centres[k]) << "nfft " << bank->nfft << " channel " << k;
    }
}

TEST(GammatoneBank, ResponsesFollowTheGammatoneMagnitude)
{
    HPR2GHR converter(44100.0f);
    EXPECT_EQ(converter.nfftLarge, 4096);
    EXPECT_EQ(converter.nfftSmall, 512);
    EXPECT_EQ(converter.sampleRate, 44100.0f);
    struct Case {
        const GammatoneFilterBank* bank;
        int bins;
    };
    for (const Case& c : {Case{&converter.bankLarge, 2049}, Case{&converter.bankSmall, 257}}) {
        const GammatoneFilterBank& bank = *c.bank;
        ASSERT_EQ(bank.channelCount, 64);
        ASSERT_EQ(bank.channels.size(), 64u);
        EXPECT_EQ(bank.binCount, c.bins);
        for (int k = 0; k < 64; ++k) {
            const GammatoneChannel& channel = bank.channels[std::size_t(k)];
            ASSERT_EQ(channel.response.size(), std::size_t(c.bins)) << k;
            // Single-precision G of the lowest channels loses about 1e-3 to
            // cancellation in its denominator.
            const double tolerance = k >= 16 ? 1e-4 : 1e-2;
            for (int b = 0; b < c.bins; ++b) {
                const float value = channel.response[std::size_t(b)];
                const bool inside = b >= channel.firstBin && b <= channel.lastBin;
                if (value > 0.0025f) {
                    EXPECT_TRUE(inside) << "nfft " << bank.nfft << " channel " << k << " bin " << b;
                    const double expected = referenceResponse(bank.centres[std::size_t(k)], b, bank.nfft, 44100.0);
                    EXPECT_NEAR(value / expected, 1.0, tolerance)
                        << "nfft " << bank.nfft << " channel " << k << " bin " << b;
                }
            }
            EXPECT_GT(channel.response[std::size_t(channel.firstBin)], 0.0025f) << k;
            EXPECT_GT(channel.response[std::size_t(channel.lastBin)], 0.0025f) << k;
        }
    }
}

TEST(GammatoneBank, ChannelsPeakNearOneWhereABinMeetsTheCentre)
{
    HPR2GHR converter(44100.0f);
    struct Case {
        const char* what;
        const GammatoneFilterBank* bank;
        int channel;
        int peak;
        float value;
        int firstBin;
        int lastBin;
    };
    const Case cases[] = {
        // 2263.57 Hz / 10.7666 Hz per bin = 210.24.
        {"4096, channel 32", &converter.bankLarge, 32, 210, 0.99982f, 100, 321},
        // 2263.57 / 86.133 = 26.28.
        {"512, channel 32", &converter.bankSmall, 32, 26, 0.98471f, 13, 40},
        // 50 Hz lies between bin 0 (0 Hz) and bin 1 (86 Hz): the channel's
        // 30 Hz wide peak is met by neither.
        {"512, channel 0", &converter.bankSmall, 0, 1, 0.17416f, 0, 2},
    };
    for (const Case& c : cases) {
        const GammatoneChannel& channel = c.bank->channels[std::size_t(c.channel)];
        EXPECT_EQ(peakBin(channel), c.peak) << c.what;
        EXPECT_NEAR(channel.response[std::size_t(c.peak)], c.value, 1e-4f) << c.what;
        EXPECT_EQ(channel.firstBin, c.firstBin) << c.what;
        EXPECT_EQ(channel.lastBin, c.lastBin) << c.what;
    }
}

TEST(GammatoneBank, AChannelWithNothingAboveTheThresholdHasAnEmptyRange)
{
    GammatoneFilterBank bank;
    // No gammatone magnitude reaches 2 anywhere.
    bank.design(512, 44100.0f, 1.0f, 50.0f, 22050.0f, 2.0f);
    for (int k = 0; k < 64; ++k) {
        const GammatoneChannel& channel = bank.channels[std::size_t(k)];
        EXPECT_EQ(channel.firstBin, 0) << k;
        EXPECT_EQ(channel.lastBin, -1) << k;
        EXPECT_TRUE(channel.empty()) << k;
    }
    // A redesign replaces the channels instead of appending to them.
    bank.design(64, 44100.0f, 1.0f, 50.0f, 22050.0f, 0.0025f);
    EXPECT_EQ(bank.channels.size(), 64u);
    EXPECT_EQ(bank.binCount, 33);
    EXPECT_FALSE(bank.channels[32].empty());
}

TEST(GammatoneBank, DesignRefusesUnusableArguments)
{
    struct Case {
        const char* what;
        int nfft;
        float rate;
        float low;
    };
    const Case cases[] = {
        {"odd size", 511, 44100.0f, 50.0f},        {"size 0", 0, 44100.0f, 50.0f},
        {"huge size", 1 << 30, 44100.0f, 50.0f},   {"rate 0", 512, 0.0f, 50.0f},
        {"negative rate", 512, -1.0f, 50.0f},      {"NaN rate", 512, std::nanf(""), 50.0f},
        {"edge below the ERB offset", 512, 44100.0f, -300.0f},
    };
    for (const Case& c : cases) {
        GammatoneFilterBank bank;
        EXPECT_THROW(bank.design(c.nfft, c.rate, 1.0f, c.low, 22050.0f, 0.0025f), std::invalid_argument) << c.what;
    }
}

}  // namespace
