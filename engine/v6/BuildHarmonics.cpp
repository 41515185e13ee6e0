#include "engine/v6/BuildHarmonics.h"

#include <algorithm>
#include <cmath>

#include "dsp/CurveRows.h"
#include "dsp/FrequencyGrid.h"
#include "dsp/HarmonicPeakAnalyser.h"
#include "dsp/LinearLookup.h"

namespace HalvorenEngineV6 {

namespace {

// trunc(halfRate / step) and at most limit; 0 for a step or rate that is
// not positive.
int harmonicCount(float halfRate, float step, int limit)
{
    if (!(step > 0.0f))
        return 0;
    const float n = halfRate / step;
    if (!(n > 0.0f))
        return 0;
    return n >= static_cast<float>(limit) ? limit : static_cast<int>(n);
}

// The stored magnitudes at (j + 1) * spacing for j = 0 .. m - 1, read
// linearly at f, the first below the first point and the last beyond the
// last.
float storedAt(const float* stored, int m, float spacing, float f)
{
    const float x = f / spacing - 1.0f;
    if (!(x > 0.0f))
        return stored[0];
    if (x >= static_cast<float>(m - 1))
        return stored[m - 1];
    const int j = static_cast<int>(x);
    const float t = x - static_cast<float>(j);
    return stored[j] * (1.0f - t) + stored[j + 1] * t;
}

}  // namespace

const std::vector<float>& tiltRowGrid()
{
    static const std::vector<float> grid = [] {
        std::vector<float> g;
        Halvoren::fillFrequencyGrid(Halvoren::kCurveRowLength, Halvoren::kCurveGridSpan, g);
        return g;
    }();
    return grid;
}

void buildHarmonicsFromModel(const Halvoren::FrameMags& stored, float f0, std::int32_t row, float gainDb, float ref,
                             float sampleRate, Halvoren::PeakList& out)
{
    out.clear();
    const int count = static_cast<int>(stored.numSamples());
    if (count == 0 || !Halvoren::HarmonicPeakAnalyser::isSungF0(f0))
        return;
    // The single-precision ln 2 / 6: the factor 2^(1/6) to seven digits.
    const float threshold = ref * std::exp(0.1155245304107666f);
    const float halfRate = sampleRate * 0.5f;
    const int n = harmonicCount(halfRate, f0, count);
    // A reference that is not positive gives no spacing to place the stored
    // magnitudes at: they keep their harmonic numbers.
    const bool keepNumbers = !(threshold > 0.0f) || f0 <= threshold;
    const int m = keepNumbers ? 0 : harmonicCount(halfRate, threshold, count);

    const std::vector<float>& grid = tiltRowGrid();
    Halvoren::LinearLookup tilt;
    const float* tiltRow = Halvoren::curveRow400(row);
    if (tiltRow != nullptr)
        tilt.reset(static_cast<int>(grid.size()), grid.data(), tiltRow);

    const float* values = stored.ptrBegin();
    out.freqs.resize(static_cast<std::size_t>(n));
    out.mags.resize(static_cast<std::size_t>(n));
    out.phases.assign(static_cast<std::size_t>(n), 0.0f);
    for (int k = 1; k <= n; ++k) {
        const float f = static_cast<float>(k) * f0;
        float level = values[k - 1];
        if (!keepNumbers)
            level = storedAt(values, m, threshold, f);
        out.freqs[k - 1] = f;
        out.mags[k - 1] = level + gainDb + tilt.valueAt(f);
    }
}

}  // namespace HalvorenEngineV6
