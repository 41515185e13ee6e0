#include "dsp/LfGlottalModel.h"

#include <algorithm>

namespace Halvoren {

void LfGlottalModel::setRd(float rd, float period, float excitation)
{
    const float R = std::min(rd, 2.7f);
    // The threshold is the double 0.21: Rd = 0.21f (just below it) still
    // takes the minimal return phase.
    const float Ra = R < 0.21 ? 1e-6f : (4.8f * R - 1.0f) / 100.0f;
    float Rk;
    float Rg;
    if (rd <= 2.7f) {
        Rk = (22.4f + 11.8f * R) / 100.0f;
        Rg = 0.25f * Rk / (0.11f * R / (0.5f + 1.2f * Rk) - Ra);
        relax = 0.0f;
    } else {
        Rk = 0.5426f;
        Rg = 0.13565f / (0.2580096f - Ra);
        relax = std::min(rd - 2.7f, 0.99f);
    }
    Rd = rd;
    tp = 1.0f / (2.0f * Rg);
    te = (1.0f + Rk) * tp;
    ta = Ra;
    T0 = period;
    Ee = excitation;
}

}  // namespace Halvoren
