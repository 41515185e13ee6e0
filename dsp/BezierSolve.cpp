#include "dsp/BezierSolve.h"

#include <cmath>

namespace Halvoren {

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
