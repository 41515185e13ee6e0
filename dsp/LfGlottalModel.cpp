#include "dsp/LfGlottalModel.h"

#include <algorithm>
#include <cmath>

#include "dsp/BezierSolve.h"
#include "dsp/BrentRoot.h"
#include "dsp/FastMath.h"

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

LfPulseTimes LfGlottalModel::deriveTimes() const
{
    LfPulseTimes p;
    p.T0 = T0;
    p.Te = te * T0;
    p.Tp = tp * T0;
    p.Ta = ta * T0;
    p.wg = kPi / p.Tp;
    p.sinWgTe = std::sin(p.wg * p.Te);
    p.cosWgTe = std::cos(p.wg * p.Te);

    const float closed = p.T0 - p.Te;
    // The return phase reaches exactly -Ee at Te.
    p.eps = brentRoot([&p, closed](float e) { return 1.0f - std::exp(-e * closed) - p.Ta * e; }, 1.0f,
                      2.0f / (p.Ta + 1e-9f));

    const float decay = std::exp(-p.eps * closed);
    const float K = (1.0f - decay) / (p.eps * p.eps * p.Ta) - closed * decay / (p.eps * p.Ta);
    // The flow returns to zero at the end of the period.
    p.alpha = brentRoot(
        [&p, K](float a) {
            return p.wg * std::exp(-a * p.Te) + a * p.sinWgTe - p.wg * p.cosWgTe +
                   (a * a + p.wg * p.wg) * p.sinWgTe * K;
        },
        0.0f, 1e9f);
    p.E0 = -Ee / (std::exp(p.alpha * p.Te) * p.sinWgTe);
    return p;
}

float LfGlottalModel::returnPhaseAt(const LfPulseTimes& p, float t) const
{
    if (t > p.T0)
        return 0.0f;
    return -Ee / (p.eps * p.Ta) * (std::exp(-p.eps * (t - p.Te)) - std::exp(-p.eps * (p.T0 - p.Te)));
}

float LfGlottalModel::openPhaseAt(const LfPulseTimes& p, float t)
{
    return p.E0 * std::exp(p.alpha * t) * std::sin(p.wg * t);
}

void LfGlottalModel::bendClosure(const LfPulseTimes& p, float step, int M, std::vector<float>& out) const
{
    const float tA = p.Te - relax * (p.Te - p.Tp) / 2.0f;
    const float tB = p.Te + relax * (p.T0 - p.Te) / 2.0f;
    const BezierPoint P1{tA, openPhaseAt(p, tA)};
    const float slope1 =
        p.E0 * std::exp(p.alpha * tA) * (p.alpha * std::sin(p.wg * tA) + p.wg * std::cos(p.wg * tA));
    const BezierPoint P2{tB, returnPhaseAt(p, tB)};
    const float slope2 = (Ee / p.Ta) * std::exp(-p.eps * (tB - p.Te));
    const BezierPoint Pc = tangentControlPoint(P1, slope1, P2, slope2);
    float tolerance = 1e-5f;
    while (tolerance > step && tolerance > 0.0f)
        tolerance *= 0.01f;

    // Backwards from Te the parameter only falls, so each search starts
    // below the last solution.
    float upper = 1.0f;
    for (int i = 1; i <= M; ++i) {
        const float t = p.Te - i * step;
        if (t <= tA)
            break;
        float u = upper;
        out[M - i] = bezierSolveT(0.0f, upper, t, tolerance, P1, Pc, P2, u);
        upper = u;
    }
    for (int j = 0; j <= kPulseSamples - 1 - M; ++j) {
        const float t = p.Te + j * step;
        if (t >= tB)
            break;
        float u = 1.0f;
        out[M + j] = bezierSolveT(0.0f, 1.0f, t, tolerance, P1, Pc, P2, u);
    }
}

void LfGlottalModel::buildPulse(std::vector<float>& out) const
{
    const LfPulseTimes p = deriveTimes();
    out.assign(kPulseSamples, 0.0f);
    const float step = p.T0 / kPulseSamples;
    const float anchor = roundHalfAway(kPulseSamples * p.Te / p.T0);
    const int M = anchor > 0.0f ? static_cast<int>(std::min(anchor, float(kPulseSamples - 1))) : 0;

    for (int i = 1; i <= M; ++i) {
        const float t = p.Te - i * step;
        out[M - i] = t < 0.0f ? returnPhaseAt(p, t + p.T0) : openPhaseAt(p, t);
    }
    for (int j = 0; j <= kPulseSamples - 1 - M; ++j) {
        const float t = p.Te + j * step;
        out[M + j] = t > p.T0 ? openPhaseAt(p, t - p.T0) : returnPhaseAt(p, t);
    }

    if (relax > 0.0f)
        bendClosure(p, step, M, out);
    for (float& v : out)
        if (!std::isfinite(v))
            v = 0.0f;
}

}  // namespace Halvoren
