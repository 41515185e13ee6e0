#pragma once
// Cubic spline whose end slopes are held at zero (clamped, not natural).
#include <vector>

namespace Halvoren {

// Second derivatives y2 (resized to n) of the spline through (x[i], y[i]).
void splineSecondDerivs(std::vector<float>& y2, const float* x, const float* y, int n);

// The spline at t over the y2.size() knots; outside the knots the first or
// last interval is extrapolated.
float splineValueAt(const std::vector<float>& y2, const float* x, const float* y, float t);

}  // namespace Halvoren
