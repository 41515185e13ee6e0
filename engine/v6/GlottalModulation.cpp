#include "engine/v6/GlottalModulation.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>

#include "dsp/CumulativeSum.h"
#include "dsp/FastMath.h"
#include "dsp/Lanes.h"
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

// std::floor of each lane without a library call. Where every lane lies
// within int range (inRange), the truncation to int; otherwise, below 2^52
// in magnitude, adding and taking away 2^52 (with t's sign) rounds t to an
// integer. Either is one less when it rounded up. Larger values, infinities
// and NaN are their own floor.
Halvoren::Double2 floorOf(Halvoren::Double2 t, bool inRange)
{
    typedef std::int32_t Int2 __attribute__((vector_size(8)));
    typedef std::int64_t Long2 __attribute__((vector_size(16)));
    if (inRange) {
        const Halvoren::Double2 r = __builtin_convertvector(__builtin_convertvector(t, Int2), Halvoren::Double2);
        // Less 1.0 where it rounded up, less 0.0 elsewhere: a true comparison
        // is all ones and keeps the bits of 1.0.
        const Long2 one = std::bit_cast<Long2>(Halvoren::Double2{1.0, 1.0});
        return r - std::bit_cast<Halvoren::Double2>((r > t) & one);
    }
    constexpr double kTwoPow52 = 4503599627370496.0;
    const Halvoren::Double2 c = t < 0.0 ? -kTwoPow52 : kTwoPow52;
    Halvoren::Double2 r = (t + c) - c;
    r = r > t ? r - 1.0 : r;
    const Halvoren::Double2 magnitude = t < 0.0 ? -t : t;
    return magnitude < kTwoPow52 ? r : t;
}

// Where samples i .. i + 3 lie within their periods, as fractions: sample
// i has turned start + i * perSample times. index holds i and i + 1.
Halvoren::Float4 periodFractions(double start, double perSample, Halvoren::Double2 index, bool inRange)
{
    const Halvoren::Double2 low = start + index * perSample;
    const Halvoren::Double2 high = start + (index + 2.0) * perSample;
    const Halvoren::Double2 lowFraction = low - floorOf(low, inRange);
    const Halvoren::Double2 highFraction = high - floorOf(high, inRange);
    return Halvoren::Float4{static_cast<float>(lowFraction[0]), static_cast<float>(lowFraction[1]),
                            static_cast<float>(highFraction[0]), static_cast<float>(highFraction[1])};
}

// The flow of a shape read linearly between its points t_k = k * 0.01f at
// fractions x in [0, 1]: the first value at or below t_0, the last at or
// beyond t_99. Its ends are copied, so that they stay in registers while
// the curve is written.
struct FlowReader {
    explicit FlowReader(const GlottalFlow& g)
        : flow(g.flow.data()), slope(g.slope.data()), first(g.flow[0]), last(g.flow[kFlowPoints - 1])
    {
    }

    Halvoren::Float4 at(Halvoren::Float4 x) const
    {
        using Halvoren::Float4;
        using Halvoren::Int4;
        Int4 k = __builtin_convertvector(x * 100.0f, Int4);
        k = k < kFlowPoints - 2 ? k : kFlowPoints - 2;
        k = k > 0 ? k : 0;
        // The grid's points are the float products k * 0.01f: one step back
        // when x lies just below the point the product names (a true
        // comparison is -1 in every bit).
        k += (k > 0) & (x < __builtin_convertvector(k, Float4) * kStep);
        const Float4 between = Halvoren::gatherFloat4(flow, k) +
                               (x - __builtin_convertvector(k, Float4) * kStep) * Halvoren::gatherFloat4(slope, k);
        const Float4 u = x > 0.0f ? between : first;
        return x >= static_cast<float>(kFlowPoints - 1) * kStep ? last : u;
    }

    const float* flow;
    const float* slope;
    float first;
    float last;
};
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

    // Four samples at a time; the last group keeps only the samples of the
    // span. The turns run evenly from the first sample to the last one of
    // the last group, so those two tell whether all are within int range.
    const float scale = (1.0f - floor) / g.peakFlow;
    const std::int64_t lastLane = first + (std::int64_t{end} - first + 3) / 4 * 4 - 1;
    const bool inRange = std::fabs(start + static_cast<double>(first) * perSample) < 2147483648.0 &&
                         std::fabs(start + static_cast<double>(lastLane) * perSample) < 2147483648.0;
    float* out = curve.data();
    const FlowReader flow(g);
    // Sample numbers as doubles, stepped exactly.
    Halvoren::Double2 index{static_cast<double>(first), static_cast<double>(first) + 1.0};
    for (std::int64_t i = first; i < end; i += 4, index += 4.0) {
        const Halvoren::Float4 values = flow.at(periodFractions(start, perSample, index, inRange)) * scale + floor;
        if (end - i >= 4) {
            Halvoren::storeFloat4(out + i, values);
        } else {
            for (std::int64_t lane = 0; lane < end - i; ++lane)
                out[i + lane] = values[lane];
        }
    }
}

}  // namespace HalvorenEngineV6
