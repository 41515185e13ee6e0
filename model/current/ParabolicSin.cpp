#include "model/current/ParabolicSin.h"

#include <cmath>

namespace HVCurrentModel {

float parabolicSin(double theta)
{
    // Fold theta into [-pi, pi] by whole turns.
    const double turns = std::trunc(theta * 0.15915493667125702);
    const double half = theta >= 0 ? 0.5 : -0.5;
    const float x = static_cast<float>((turns + half) * 6.2831854820251465 - theta);
    // Parabola through the sine's zeros and peaks, then a correction.
    const float y = static_cast<float>(1.2732394933700562 * x - 0.40528473258018494 * x * std::fabs(x));
    const float p = std::copysign(0.22308510541915894f, x);
    return static_cast<float>(y * (p * y + 0.7763302326202393));
}

}  // namespace HVCurrentModel
