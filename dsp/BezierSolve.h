#pragma once
// The point of a quadratic Bezier curve at a given x, found by bisection of
// the curve parameter.
namespace Halvoren {

struct BezierPoint {
    float x = 0.0f;
    float y = 0.0f;
};

inline constexpr int kBezierSolveMaxIterations = 64;

// The control point of an arc leaving p1 with slope1 and arriving at p2
// with slope2: where the two tangents cross. When they are parallel or
// cross outside (p1.x, p2.x), where the arc would overshoot, the midpoint
// of p1 and p2.
BezierPoint tangentControlPoint(BezierPoint p1, float slope1, BezierPoint p2, float slope2);

// Bisects t in [lo, hi] on the curve through start p0, control p1 and end
// p2 until |x(t) - target| < tolerance (lo = t when x(t) <= target, else
// hi = t); writes t and returns y(t). x must rise with t over [lo, hi].
// After 64 halvings the last t is taken, so a tolerance finer than the
// curve's float resolution still returns.
float bezierSolveT(float lo, float hi, float target, float tolerance, BezierPoint p0, BezierPoint p1,
                   BezierPoint p2, float& t);

}  // namespace Halvoren
