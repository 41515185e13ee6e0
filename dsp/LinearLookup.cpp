#include "dsp/LinearLookup.h"

#include <cmath>

namespace Halvoren {

float LinearLookup::valueAt(float x)
{
    if (count <= 0 || xs == nullptr || ys == nullptr)
        return 0.0f;
    if (x <= xs[0] || std::isnan(x))
        return ys[0];
    if (x >= xs[count - 1])
        return ys[count - 1];
    if (cursor < 0 || cursor > count - 1)
        cursor = 0;
    if (xs[cursor] > x) {
        int c = cursor;
        while (c > 0 && !(xs[c] < x))
            --c;
        cursor = c;
    }
    int j = cursor;
    while (j < count - 1 && !(xs[j] > x))
        ++j;
    if (j < 1)
        j = 1;
    const float width = xs[j] - xs[j - 1];
    cursor = j - 1;
    if (!(width > 0.0f))
        return ys[j];
    const float t = (xs[j] - x) / width;
    return ys[j] * (1.0f - t) + ys[j - 1] * t;
}

}  // namespace Halvoren
