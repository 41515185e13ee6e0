#pragma once
// A gain curve that follows the glottal flow of an LF pulse in step with a
// frame's fundamental: the noise part of a voiced frame is shaped by it
// sample by sample, so that breath noise pulses with the voice.
#include <array>
#include <vector>

#include "dsp/PeakList.h"

namespace HalvorenEngineV6 {

// Number of glottal shapes; shape s has Rd = s * 0.01f + 0.01f.
inline constexpr int kGlottalShapes = 270;
inline constexpr int kFlowPoints = 100;

// One period of the flow of shape s: the cumulative sum of the LF flow
// derivative over 100 points (period 1, excitation 1), the instant of peak
// flow tp as a fraction of the period, and the flow at the peak point.
struct GlottalFlow {
    std::array<float, kFlowPoints> flow{};
    // (flow[k+1] - flow[k]) / (t[k+1] - t[k]) over the points t_k = k * 0.01f.
    std::array<float, kFlowPoints - 1> slope{};
    float tp = 0.0f;
    int peak = 0;
    float peakFlow = 0.0f;
};

// The flow of a shape, clamped to 0 .. 269; computed once for all shapes.
const GlottalFlow& glottalFlow(int shape);
// The same computed afresh.
GlottalFlow computeGlottalFlow(int shape);

// Fills every value of curve: all 1 without harmonics; otherwise the flow
// of the shape relative to its peak, lifted by floor ((u / peak) * (1 - floor)
// + floor), over periods of the first harmonic's frequency, placed so that
// the peak of flow falls where the first harmonic's phase, carried to the
// curve's middle sample, points.
void makeGlottalModulation(const Halvoren::PeakList& harmonics, std::vector<float>& curve, float sampleRate,
                           float floor, int shape);
// The same over curve[first .. first + count) only, with the values the
// whole curve has there; the rest of the curve stays as it is. The frame
// synthesis needs no more than the samples its writer adds.
void makeGlottalModulation(const Halvoren::PeakList& harmonics, std::vector<float>& curve, float sampleRate,
                           float floor, int shape, int first, int count);

}  // namespace HalvorenEngineV6
