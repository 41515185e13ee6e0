#pragma once
// Piecewise-linear lookup over ascending knots with a cursor that remembers
// the last interval used, so sweeps over increasing x cost O(1) per call.
// The arrays are borrowed, not owned.
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
};

}  // namespace Halvoren
