#include "dsp/SinusoidLobeTable.h"

#include <cmath>

#include "dsp/BlackmanHarrisKernel.h"

namespace Halvoren {

namespace {
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
