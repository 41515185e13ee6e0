#include "dsp/PhaseSlopeTable.h"

#include "dsp/LfGlottalModel.h"

namespace Halvoren {

namespace {
std::array<double, kPhaseSlopeCount> buildTable()
{
    std::array<double, kPhaseSlopeCount> table{};
    LfGlottalModel model;
    for (int i = 0; i < kPhaseSlopeCount; ++i) {
        model.setRd(static_cast<float>(i + 1) * 0.01f, 1.0f, 1.0f);
        table[i] = model.te;
    }
    // The last shape's slope is tuned by hand.
    table[kPhaseSlopeCount - 1] = 0.786822;
    return table;
}
}  // namespace

const std::array<double, kPhaseSlopeCount>& phaseSlopeTable()
{
    static const std::array<double, kPhaseSlopeCount> table = buildTable();
    return table;
}

double phaseSlopeAt(int index)
{
    if (index < 0 || index >= kPhaseSlopeCount)
        return 0.5;
    return phaseSlopeTable()[index];
}

}  // namespace Halvoren
