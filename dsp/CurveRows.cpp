#include "dsp/CurveRows.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "dsp/FrequencyGrid.h"
#include "dsp/LfGlottalModel.h"
#include "dsp/LfPulseLevels.h"

namespace Halvoren {

namespace {
std::atomic<const std::vector<float>*> g_rowsOverride{nullptr};

std::vector<float> buildRows()
{
    std::vector<float> grid;
    fillFrequencyGrid(kCurveRowLength, kCurveGridSpan, grid);
    std::vector<float> rows(static_cast<std::size_t>(kCurveRowCount) * kCurveRowLength);
    LfGlottalModel model;
    for (int r = 0; r < kCurveRowCount; ++r) {
        model.setRd(static_cast<float>(r + 1) * 0.01f, kCurveReferencePeriod, 1.0f);
        lfPulseSpectrumDb(model, grid.data(), kCurveRowLength, rows.data() + std::size_t(r) * kCurveRowLength);
    }
    return rows;
}
}  // namespace

const std::vector<float>& builtInCurveRows()
{
    static const std::vector<float> rows = buildRows();
    return rows;
}

void setCurveRows(const std::vector<float>* rows) { g_rowsOverride.store(rows); }

const float* curveRow400(int row)
{
    const std::vector<float>* injected = g_rowsOverride.load();
    const std::vector<float>& rows = injected != nullptr ? *injected : builtInCurveRows();
    const std::size_t count = rows.size() / kCurveRowLength;
    if (count == 0)
        return nullptr;
    const std::size_t r = row < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(row), count - 1);
    return rows.data() + r * kCurveRowLength;
}

void loadCurveRow400(FastVector<float>& out, int row)
{
    out.resize(kCurveRowLength);
    const float* values = curveRow400(row);
    if (values == nullptr)
        std::fill(out.ptrBegin(), out.ptrBegin() + kCurveRowLength, 0.0f);
    else
        std::memcpy(out.ptrBegin(), values, kCurveRowLength * sizeof(float));
}

}  // namespace Halvoren
