#pragma once
// Renders the cells of a first-generation job: the residual frame at the
// cell's position (random phases for a noise cell), the source's harmonic
// peaks moved to the score's pitch with the tilt of the new pitch, phases
// continued from the previous cell, one 4096-point inverse transform,
// overlap-added at the cell's output frame. At hops where the writer would
// swell the residual towards the frame's ends, a second inverse transform
// of the residual alone holds it down. One per job, used by its
// synthesis thread only, in cell order.
#include "dsp/FreqBox.h"
#include "dsp/HarmonicPeakAnalyser.h"
#include "dsp/HarmonicPhaseState.h"
#include "dsp/NoiseWeightCap.h"
#include "dsp/SampleOutWriter.h"
#include "dsp/Windows.h"
#include "engine/v1/Cell.h"

namespace HalvorenEngineV1 {

class CellSynthV1 {
public:
    static constexpr int kFrameSize = 4096;
    // The voice's tilt T(f) = a0 + a1 (exp(a2 f) - 1).
    static constexpr float kTilt[3] = {-26.3583f, 69.9409f, -0.000190626f};

    CellSynthV1(float sampleRate, int hop);

    void synthCell(Cell& cell, HalvorenEngine::SampleOutWriter& out);
    // The harmonic peaks of the cell at its pitch: none for a cell without
    // peaks; false, for a silent frame, when the pitch ratio is not positive
    // and finite or the pitch is below HarmonicPeakAnalyser::kMinF0. Needs the cell's peaks given to the analyser first.
    bool buildFramePeaks(const Cell& cell, Halvoren::PeakList& out);

    Halvoren::HarmonicPeakAnalyser& analyser() { return analyser_; }
    const Halvoren::FreqMagAndPhaseBox& box() const { return box_; }

private:
    float sampleRate_;
    float period_;
    long long lastNumber_ = -1;
    Halvoren::AnalysisWindow window_;
    Halvoren::HarmonicPhaseState phase_;
    Halvoren::HarmonicPeakAnalyser analyser_;
    Halvoren::FreqMagAndPhaseBox box_;
    HalvorenEngine::NoiseWeightCap spreadCap_;
    Halvoren::PeakList peaks_;
};

}  // namespace HalvorenEngineV1
