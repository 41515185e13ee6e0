#include "dsp/StepTable.h"

#include <algorithm>
#include <cmath>

#include "dsp/FastMath.h"
#include "platform/Rand.h"

namespace Halvoren {

bool StepTable::isValid() const
{
    return std::isfinite(step) && step > 0.0f && stride > 0 && rows > 0 &&
           values.size() >= static_cast<std::size_t>(rows) * static_cast<std::size_t>(stride);
}

float StepTable::valueAt(int column, float x) const
{
    if (!isValid() || column < 0 || column >= stride)
        return 0.0f;
    const float r = roundHalfAway(x / step) - 1.0f;
    const int row = r >= static_cast<float>(rows - 1) ? rows - 1 : (r > 0.0f ? static_cast<int>(r) : 0);
    return values[static_cast<std::size_t>(stride) * row + column];
}

void StepTable::resetWindow()
{
    columnCounter = -1;
    columnLimit = 0;
    columnStart = 0;
}

void pickRandomThird(StepTable& table)
{
    const int k = hvRand() % 3;
    table.columnStart = (table.stride * k) / 3;
    table.columnCounter = table.columnStart;
    table.columnLimit = std::min(table.columnStart + table.stride / 3 - 1, table.stride - 1);
}

}  // namespace Halvoren
