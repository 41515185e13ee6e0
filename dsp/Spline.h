#pragma once
// Cubic spline whose end slopes are held at zero (clamped, not natural).
#include <vector>

namespace Halvoren {

// Second derivatives y2 (resized to n) of the spline through (x[i], y[i]).
void splineSecondDerivs(std::vector<float>& y2, const float* x, const float* y, int n);

// The spline at t over the y2.size() knots; outside the knots the first or
// last interval is extrapolated.
float splineValueAt(const std::vector<float>& y2, const float* x, const float* y, float t);

// Reads of one spline, each splineValueAt's value exactly. Over knots that
// never descend a read walks on from the interval of the read before, so
// reads at rising t cost O(1) each instead of a search; other knots are
// searched every time. The arrays are borrowed and must not change.
class SplineReader {
public:
    SplineReader(const std::vector<float>& y2, const float* x, const float* y);
    float valueAt(float t);

private:
    const std::vector<float>& y2_;
    const float* x_;
    const float* y_;
    bool rising_ = true;
    int lo_ = 0;
};

}  // namespace Halvoren
