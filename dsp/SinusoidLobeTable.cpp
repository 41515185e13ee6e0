#include "dsp/SinusoidLobeTable.h"

#include <cmath>
#include <numbers>

namespace Halvoren {

namespace {
double sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

// Transform of the zero-phase 4-term Blackman-Harris window, u in bins,
// relative to its value at 0.
double blackmanHarrisKernel(double u)
{
    static constexpr double a[4] = {0.35875, 0.48829, 0.14128, 0.01168};
    double s = a[0] * sinc(u);
    for (int k = 1; k < 4; ++k)
        s += a[k] * 0.5 * (sinc(u - k) + sinc(u + k));
    return s / a[0];
}

// The lobe's centre sits this far below entry 500, so the bin nearest a
// sinusoid is read near the top of the lobe after truncation.
constexpr double kCentreOffset = 0.175;
constexpr int kPeakEntry = 483;

SinusoidLobeTable buildLobeTable()
{
    SinusoidLobeTable table{};
    auto at = [](int i) { return (i - 500) / 100.0 + kCentreOffset; };
    const double peak = blackmanHarrisKernel(at(kPeakEntry));
    for (int i = 0; i < 1001; ++i) {
        const double u = at(i);
        // Only the main lobe and the sidelobes within 5 bins are drawn.
        table[i] = std::fabs(u) < 5.0 ? static_cast<float>(blackmanHarrisKernel(u) / peak) : 0.0f;
    }
    return table;
}
}  // namespace

const SinusoidLobeTable& sinusoidLobeTable()
{
    static const SinusoidLobeTable table = buildLobeTable();
    return table;
}

}  // namespace Halvoren
