#include "dsp/TabulatedBandFilter.h"

#include "dsp/BandFilterTables.h"
#include "dsp/DirectFormFilter.h"
#include "dsp/FastMath.h"

namespace Halvoren {

int designTabulated(float w, bool highPass, std::vector<float>& a, std::vector<float>& b)
{
    // Single precision on purpose: 2 * 0.015f / 0.02f - 1 is exactly 0.5 in
    // float (row 1) but just below it in double (row 0).
    const float pos = roundHalfAway(2.0f * w / 0.02f - 1.0f);
    int row = 0;
    if (pos > 0.0f)
        row = pos < static_cast<float>(kBandFilterRows - 1) ? static_cast<int>(pos) : kBandFilterRows - 1;
    const BandFilterTables& t = bandFilterTables();
    const BandFilterRow& ra = highPass ? t.highA[row] : t.lowA[row];
    const BandFilterRow& rb = highPass ? t.highB[row] : t.lowB[row];
    a.assign(ra.begin(), ra.end());
    b.assign(rb.begin(), rb.end());
    return kBandFilterTaps;
}

void TabulatedBandFilter::filterBand(const float* in, int n, float low, float high, float* out) const
{
    if (n < 1)
        return;
    if (low < 0.0f)
        low = 0.0f;
    if (high > 1.0f)
        high = 1.0f;
    if (low != 0.0f && high != 1.0f) {
        std::vector<float> tmp(static_cast<std::size_t>(n), 0.0f);
        filterBand(in, n, low, 1.0f, tmp.data());
        filterBand(tmp.data(), n, 0.0f, high, out);
        return;
    }
    std::vector<float> a;
    std::vector<float> b;
    const int taps = low != 0.0f ? designTabulated(low, true, a, b) : designTabulated(high, false, a, b);
    zeroPhaseFilter(taps, b.data(), a.data(), in, n, out);
}

}  // namespace Halvoren
