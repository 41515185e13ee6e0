#pragma once
// Piecewise-linear lookup over ascending knots with a cursor that remembers
// the last interval used, so sweeps over increasing x cost O(1) per call.
// The arrays are borrowed, not owned. Inline: the synthesis loops read it
// once per harmonic and band of every frame.
#include <cmath>

namespace Halvoren {

struct LinearLookup {
    int cursor = 0;
    int count = 0;
    const float* xs = nullptr;
    const float* ys = nullptr;

    void reset(int n, const float* x, const float* y)
    {
        cursor = 0;
        count = n;
        xs = x;
        ys = y;
    }

    // The first level at or below the first knot, the last at or above the
    // last knot, linear between. An empty lookup gives 0, NaN the first level.
    float valueAt(float x);
    // valueAt of each of the n points x[i] in turn, into out[i]; out may be x.
    void valuesAt(const float* x, int n, float* out);
};

[[gnu::always_inline]] inline float LinearLookup::valueAt(float x)
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

inline void LinearLookup::valuesAt(const float* x, int n, float* out)
{
    // On a copy, whose cursor stays in a register while out is written.
    LinearLookup walk = *this;
    for (int i = 0; i < n; ++i)
        out[i] = walk.valueAt(x[i]);
    cursor = walk.cursor;
}

}  // namespace Halvoren
