#pragma once
// Root of a function of one float variable in a bracket, by Brent's method
// in single precision.
#include <functional>

namespace Halvoren {

inline constexpr int kBrentMaxIterations = 100;

// A bracket [a, b] whose ends do not differ in sign gives its midpoint.
// Otherwise iterates until |f| <= 1e-8 at the current estimate, the bracket
// is narrower than 1e-8, a bisection can no longer leave the bracket's ends,
// or 100 steps have run (float spacing can keep the first two from ever
// holding); returns the current estimate.
float brentRoot(const std::function<float(float)>& f, float a, float b);

}  // namespace Halvoren
