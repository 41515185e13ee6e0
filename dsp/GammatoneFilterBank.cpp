#include "dsp/GammatoneFilterBank.h"

#include <cmath>
#include <complex>
#include <stdexcept>

#include "dsp/FastMath.h"
#include "dsp/GammatoneCentres.h"

namespace Halvoren {

namespace {

using cfloat = std::complex<float>;

constexpr int kMaxFftSize = 1 << 20;

struct Section {
    float poleRadius;         // e^(-B*T)
    float theta;              // 2*pi*cf*T
    float zeros[4];           // the four real zeros
    float scale;              // T^4 / G
};

// The four real zeros (cos t + c_i sin t) e^(-BT) of the Patterson-Holdsworth
// cascade, and Slaney's gain G: the cascade's magnitude at the centre.
Section designSection(float cf, float sampleRate, float bandwidthScale)
{
    const float T = 1.0f / sampleRate;
    const float erb = cf / 9.26449f + 24.7f;
    const float B = 1.019f * kTwoPi * erb * bandwidthScale;
    const float theta = kTwoPi * cf * T;
    const float r = std::exp(-B * T);
    const float cosT = std::cos(theta);
    const float sinT = std::sin(theta);
    const float root1 = std::sqrt(3.0f + std::pow(2.0f, 1.5f));
    const float root2 = std::sqrt(3.0f - std::pow(2.0f, 1.5f));
    const float c[4] = {root1, -root1, root2, -root2};

    const cfloat e2 = std::polar(1.0f, 2.0f * theta);    // e^(2j theta)
    const cfloat e1r = std::polar(r, theta);              // e^(-BT + j theta)
    const cfloat denominator = -2.0f * r * r - 2.0f * e2 + 2.0f * (1.0f + e2) * r;
    const cfloat denominator4 = denominator * denominator * denominator * denominator;

    Section s{r, theta, {}, 0.0f};
    cfloat numerator = 1.0f;
    for (int i = 0; i < 4; ++i) {
        s.zeros[i] = (cosT + c[i] * sinT) * r;
        numerator *= -2.0f * e2 * T + 2.0f * e1r * T * (cosT + c[i] * sinT);
    }
    const float gain = std::abs(numerator / denominator4);
    s.scale = T * T * T * T / gain;
    return s;
}

}  // namespace

void GammatoneFilterBank::design(int size, float sampleRate, float bandwidthScale, float lowHz, float highHz,
                                 float threshold)
{
    if (size < 2 || size % 2 != 0 || size > kMaxFftSize)
        throw std::invalid_argument("gammatone bank: FFT size must be even, from 2 to 2^20");
    if (!(sampleRate > 0.0f) || !std::isfinite(sampleRate))
        throw std::invalid_argument("gammatone bank: sample rate must be positive");
    const auto centreValues = gammatoneCentres(lowHz, highHz);
    if (!std::isfinite(centreValues[0]) || !std::isfinite(centreValues[kGammatoneChannels - 1]))
        throw std::invalid_argument("gammatone bank: band edges out of range");

    channels.clear();
    channelCount = kGammatoneChannels;
    nfft = size;
    binCount = size / 2 + 1;
    centres.assign(centreValues.begin(), centreValues.end());

    std::vector<cfloat> unitCircle(static_cast<std::size_t>(binCount));
    for (int b = 0; b < binCount; ++b)
        unitCircle[std::size_t(b)] = std::polar(1.0f, kTwoPi * float(b) / float(size));

    channels.reserve(std::size_t(channelCount));
    for (float cf : centres) {
        const Section s = designSection(cf, sampleRate, bandwidthScale);
        const cfloat pole = std::polar(s.poleRadius, s.theta);
        GammatoneChannel channel;
        channel.response.resize(std::size_t(binCount));
        for (int b = 0; b < binCount; ++b) {
            const cfloat z = unitCircle[std::size_t(b)];
            float zeroProduct = 1.0f;
            for (float zero : s.zeros)
                zeroProduct *= std::abs(z - zero);
            const float polePair = std::abs((z - pole) * (z - std::conj(pole)));
            const float polePair2 = polePair * polePair;
            const float value = s.scale * zeroProduct / (polePair2 * polePair2);
            channel.response[std::size_t(b)] = value;
            if (value > threshold) {
                if (channel.lastBin < 0)
                    channel.firstBin = b;
                channel.lastBin = b;
            }
        }
        channels.push_back(std::move(channel));
    }
}

}  // namespace Halvoren
