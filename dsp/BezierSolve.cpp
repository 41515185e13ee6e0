#include "dsp/BezierSolve.h"

#include <cmath>

namespace Halvoren {

BezierPoint tangentControlPoint(BezierPoint p1, float slope1, BezierPoint p2, float slope2)
{
    const BezierPoint mid{(p1.x + p2.x) / 2.0f, (p1.y + p2.y) / 2.0f};
    const float x = (p2.y - p1.y + slope1 * p1.x - slope2 * p2.x) / (slope1 - slope2);
    if (!(x > p1.x && x < p2.x))
        return mid;
    const float y = p1.y + slope1 * (x - p1.x);
    if (!std::isfinite(y))
        return mid;
    return {x, y};
}

float bezierSolveT(float lo, float hi, float target, float tolerance, BezierPoint p0, BezierPoint p1,
                   BezierPoint p2, float& t)
{
    float y = 0.0f;
    for (int i = 0; i < kBezierSolveMaxIterations; ++i) {
        const float m = (lo + hi) / 2.0f;
        const float u = 1.0f - m;
        const float x = u * u * p0.x + 2.0f * m * u * p1.x + m * m * p2.x;
        y = u * u * p0.y + 2.0f * m * u * p1.y + m * m * p2.y;
        t = m;
        if (std::fabs(x - target) < tolerance)
            break;
        if (x <= target)
            lo = m;
        else
            hi = m;
    }
    return y;
}

}  // namespace Halvoren
