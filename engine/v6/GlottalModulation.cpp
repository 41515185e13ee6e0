#include "engine/v6/GlottalModulation.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "dsp/CumulativeSum.h"
#include "dsp/FastMath.h"
#include "dsp/LfGlottalModel.h"
#include "dsp/WrapPhase.h"

namespace HalvorenEngineV6 {

namespace {
// The single-precision 0.01: Rd step and the flow's time step.
constexpr float kStep = 0.01f;

const std::array<float, kFlowPoints>& flowTimes()
{
    static const std::array<float, kFlowPoints> times = [] {
        std::array<float, kFlowPoints> t{};
        for (int k = 0; k < kFlowPoints; ++k)
            t[k] = static_cast<float>(k) * kStep;
        return t;
    }();
    return times;
}

// std::floor without a library call or a branch, so that loops of it run
// several values at once: below 2^52 in magnitude, adding and taking away
// 2^52 (with t's sign) rounds t to an integer, one less when that rounded
// up. Larger values, infinities and NaN are their own floor.
double floorOf(double t)
{
    constexpr double kTwoPow52 = 4503599627370496.0;
    const double c = t < 0.0 ? -kTwoPow52 : kTwoPow52;
    double r = (t + c) - c;
    r = r > t ? r - 1.0 : r;
    return std::fabs(t) < kTwoPow52 ? r : t;
}
}  // namespace

GlottalFlow computeGlottalFlow(int shape)
{
    shape = std::clamp(shape, 0, kGlottalShapes - 1);
    Halvoren::LfGlottalModel model;
    model.setRd(static_cast<float>(shape) * kStep + kStep, 1.0f, 1.0f);
    std::vector<float> pulse, flow;
    model.buildPulse(pulse);
    Halvoren::cumulativeSum(pulse, flow);
    GlottalFlow out;
    std::copy_n(flow.begin(), kFlowPoints, out.flow.begin());
    const std::array<float, kFlowPoints>& t = flowTimes();
    for (int k = 0; k + 1 < kFlowPoints; ++k)
        out.slope[k] = (out.flow[k + 1] - out.flow[k]) / (t[k + 1] - t[k]);
    out.tp = model.tp;
    // The point of peak flow, or the one after it when that is higher; both
    // stay inside the period.
    const float at = model.tp * 100.0f;
    int p = std::isfinite(at) ? static_cast<int>(std::clamp(at, 0.0f, 98.0f)) : 0;
    if (out.flow[p] < out.flow[p + 1])
        ++p;
    out.peak = p;
    out.peakFlow = out.flow[p];
    return out;
}

const GlottalFlow& glottalFlow(int shape)
{
    static const std::array<GlottalFlow, kGlottalShapes> flows = [] {
        std::array<GlottalFlow, kGlottalShapes> all;
        for (int s = 0; s < kGlottalShapes; ++s)
            all[s] = computeGlottalFlow(s);
        return all;
    }();
    return flows[static_cast<std::size_t>(std::clamp(shape, 0, kGlottalShapes - 1))];
}

void makeGlottalModulation(const Halvoren::PeakList& harmonics, std::vector<float>& curve, float sampleRate,
                           float floor, int shape)
{
    makeGlottalModulation(harmonics, curve, sampleRate, floor, shape, 0,
                          static_cast<int>(std::min<std::size_t>(curve.size(), INT_MAX)));
}

void makeGlottalModulation(const Halvoren::PeakList& harmonics, std::vector<float>& curve, float sampleRate,
                           float floor, int shape, int first, int count)
{
    // The span, cut to the curve.
    const int size = static_cast<int>(std::min<std::size_t>(curve.size(), INT_MAX));
    first = std::clamp(first, 0, size);
    const int end = first + std::clamp(count, 0, size - first);
    const float f0 = harmonics.freqs.empty() ? 0.0f : harmonics.freqs[0];
    const GlottalFlow& g = glottalFlow(shape);
    // Without a fundamental, a rate or a flow to scale by, nothing modulates.
    if (harmonics.freqs.empty() || !std::isfinite(f0) || !(sampleRate > 0.0f) || !(g.peakFlow > 0.0f)) {
        std::fill(curve.begin() + first, curve.begin() + end, 1.0f);
        return;
    }
    const float phase1 = harmonics.phases.empty() ? 0.0f : harmonics.phases[0];
    const auto n = static_cast<float>(curve.size());
    const float a = Halvoren::wrapPhase(phase1 - Halvoren::kTwoPi * f0 * (n / 2.0f) / sampleRate);
    const float b = Halvoren::wrapPhase(Halvoren::kPi - Halvoren::kTwoPi * g.tp);
    float c = Halvoren::wrapPhase(a - b);
    if (c < 0.0f)
        c += Halvoren::kTwoPi;
    const double start = c / Halvoren::kTwoPi;
    const double perSample = static_cast<double>(f0) / sampleRate;

    // First where every sample lies within its period, several samples at
    // once; then the flow read linearly between its points t_k = k * 0.01f:
    // the first value at or below t_0, the last at or beyond t_99.
    // The frame's samples, counted in int: that converts to double several
    // at a time.
    float* out = curve.data();
    for (int i = first; i < end; ++i) {
        const double turns = start + static_cast<double>(i) * perSample;
        out[i] = static_cast<float>(turns - floorOf(turns));
    }
    const std::array<float, kFlowPoints>& times = flowTimes();
    const float scale = (1.0f - floor) / g.peakFlow;
    for (int i = first; i < end; ++i) {
        const float x = out[i];
        float u;
        if (x >= times[kFlowPoints - 1]) {
            u = g.flow[kFlowPoints - 1];
        } else {
            int k = std::min(static_cast<int>(x * 100.0f), kFlowPoints - 2);
            // The grid's points are the float products k * 0.01f: one step
            // back when x lies just below the point the product names.
            if (k > 0 && x < times[k])
                --k;
            u = x > 0.0f ? g.flow[k] + (x - times[k]) * g.slope[k] : g.flow[0];
        }
        out[i] = u * scale + floor;
    }
}

}  // namespace HalvorenEngineV6
