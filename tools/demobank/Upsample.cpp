#include "Upsample.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace demobank {

namespace {

// Half the kernel's taps on either side of its centre, at the output rate.
constexpr int kHalfTaps = 64;

// The low-pass kernel with a Blackman window, gain 2 at 0 Hz (the zeros
// between the input samples halve the level).
std::vector<double> lowPass(double outRate, double cutoffHz)
{
    const double fc = cutoffHz / outRate;
    std::vector<double> h(2 * kHalfTaps + 1);
    double sum = 0.0;
    for (int i = -kHalfTaps; i <= kHalfTaps; ++i) {
        const double x = 2.0 * fc * i;
        const double sinc = i == 0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
        const double phase = std::numbers::pi * (i + kHalfTaps) / kHalfTaps;
        const double window = 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
        h[i + kHalfTaps] = sinc * window;
        sum += h[i + kHalfTaps];
    }
    for (double& v : h)
        v *= 2.0 / sum;
    return h;
}

}  // namespace

std::vector<std::int16_t> upsampleTwice(const std::vector<std::int16_t>& in, double outRate, double cutoffHz)
{
    const std::vector<double> h = lowPass(outRate, cutoffHz);
    const std::int64_t n = static_cast<std::int64_t>(in.size());
    std::vector<std::int16_t> out(in.size() * 2);
    for (std::int64_t k = 0; k < 2 * n; ++k) {
        double acc = 0.0;
        // Only the even positions of the zero-stuffed signal hold samples.
        const std::int64_t first = std::max<std::int64_t>(0, (k - kHalfTaps + 1) / 2);
        const std::int64_t last = std::min<std::int64_t>(n - 1, (k + kHalfTaps) / 2);
        for (std::int64_t m = first; m <= last; ++m) {
            const std::int64_t tap = k - 2 * m + kHalfTaps;
            if (tap >= 0 && tap <= 2 * kHalfTaps)
                acc += h[static_cast<std::size_t>(tap)] * in[static_cast<std::size_t>(m)];
        }
        out[static_cast<std::size_t>(k)] =
            static_cast<std::int16_t>(std::clamp(std::lround(acc), -32768L, 32767L));
    }
    return out;
}

}  // namespace demobank
