#pragma once
// A Gaussian bump (or, with a negative amplitude, a dip) of gain in dB.
#include "voicebank/package/DBFilter.h"

namespace Halvoren {

class BellCurveFilter : public DBFilter {
public:
    BellCurveFilter(float amplitudeDb, float standardDeviation, float centre)
        : amplitude(amplitudeDb), width(standardDeviation), center(centre)
    {
    }

    // amplitude * exp(-d^2 / (2 width^2)), d = x - center, every step in
    // float. A width of 0 is a bump of no width: the amplitude at the centre,
    // 0 elsewhere.
    float gain(float x) const override;

    float amplitude;  // dB at the centre
    float width;      // standard deviation, in the units of x
    float center;
};

}  // namespace Halvoren
