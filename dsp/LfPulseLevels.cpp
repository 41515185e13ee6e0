#include "dsp/LfPulseLevels.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "dsp/LfGlottalModel.h"

namespace Halvoren {

namespace {
using Complex = std::complex<double>;
constexpr double kTwoPiD = 6.283185307179586;
constexpr double kPulseFloorDb = -120.0;

// (exp(s*T) - 1) / s, which tends to T as s tends to 0.
Complex growthIntegral(Complex s, double T)
{
    if (std::abs(s) * T < 1e-12)
        return T;
    return (std::exp(s * T) - 1.0) / s;
}
}  // namespace

void lfPulseSpectrumDb(const LfGlottalModel& model, const float* freqsHz, int count, float* outDb)
{
    if (count < 1)
        return;
    const LfPulseTimes p = model.deriveTimes();
    const double Te = p.Te;
    const double D = static_cast<double>(p.T0) - Te;  // length of the return phase
    const double alpha = p.alpha;
    const double wg = p.wg;
    const double eps = p.eps;
    const double scale = -static_cast<double>(model.Ee) / (eps * p.Ta);
    const double tail = std::exp(-eps * D);
    const Complex j(0.0, 1.0);

    double peak = 0.0;
    for (int i = 0; i < count; ++i) {
        const double w = kTwoPiD * freqsHz[i];
        // Open phase: E0 * exp(alpha t) * sin(wg t), 0 <= t <= Te.
        const Complex open = static_cast<double>(p.E0) / (2.0 * j) *
                        (growthIntegral(Complex(alpha, wg - w), Te) - growthIntegral(Complex(alpha, -wg - w), Te));
        // Return phase: scale * (exp(-eps u) - exp(-eps D)), u = t - Te.
        const Complex decay = growthIntegral(Complex(-eps, -w), D);
        const Complex flat = tail * growthIntegral(Complex(0.0, -w), D);
        const Complex ret = scale * std::exp(-j * (w * Te)) * (decay - flat);
        outDb[i] = static_cast<float>(std::abs(open + ret));
        if (std::isfinite(outDb[i]))
            peak = std::max(peak, static_cast<double>(outDb[i]));
    }
    for (int i = 0; i < count; ++i) {
        const double mag = outDb[i];
        double db = peak > 0.0 && mag > 0.0 && std::isfinite(mag) ? 20.0 * std::log10(mag / peak) : kPulseFloorDb;
        outDb[i] = static_cast<float>(std::max(db, kPulseFloorDb));
    }
}

}  // namespace Halvoren
