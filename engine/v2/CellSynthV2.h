#pragma once
// Renders the cells of a second-generation job: as the first generation's,
// at 512 points, with the bank's tilt (its rate scaled by the pitch ratio,
// at kept level and with the residual lowered when the pitch goes down), a
// formant boost weighted by the score's Power, and jittered phases. Where
// the writer would swell them, the random-phase residual and the small
// errors of a residual re-drawn with its own phases are weighted at most by
// the window's centre weight, fading at the frame's ends. One per job, used
// by its synthesis thread only, in cell order.
#include <vector>

#include "dsp/FreqBox.h"
#include "dsp/HarmonicPeakAnalyser.h"
#include "dsp/HarmonicPhaseState.h"
#include "dsp/NoiseWeightCap.h"
#include "dsp/SampleOutWriter.h"
#include "dsp/Windows.h"
#include "engine/v1/Cell.h"
#include "engine/v2/ResidualFrameCache.h"

namespace HalvorenEngineV2 {

// The bank's values the synthesis reads (store slots 8 to 16).
struct BankSettings {
    float tiltOffset = 0.0f;     // a0, dB
    float tiltRate = 0.0f;       // a2, per Hz
    float tiltAmplitude = 0.0f;  // a1, dB
    float maxHarmonicFreq = 16000.0f;
    int phaseSetting = 20;
    float boostGain = 0.0f;      // c, dB
    float boostCentre = 0.0f;    // m, Hz
    float boostWidth = 0.0f;     // w, Hz
};

class CellSynthV2 {
public:
    static constexpr int kFrameSize = 512;

    CellSynthV2(float sampleRate, int hop, const BankSettings& bank);

    void synthCell(HalvorenEngineV1::Cell& cell, HalvorenEngine::SampleOutWriter& out);
    // The harmonic peaks of the cell at its pitch, and the residual's level
    // change in the spectrum box; false, for a silent frame, when the pitch
    // ratio is not positive and finite. Needs the cell's peaks given to the
    // analyser first. A pitch below HarmonicPeakAnalyser::kMinF0 is silent too.
    bool buildFramePeaks(const HalvorenEngineV1::Cell& cell, Halvoren::PeakList& out);

    // The job freed the sources its cells' residuals belong to.
    void forgetResiduals() { spectra_.forget(); }

    Halvoren::HarmonicPeakAnalyser& analyser() { return analyser_; }
    Halvoren::FreqMagAndPhaseBox& box() { return box_; }
    const Halvoren::HarmonicPhaseState& phaseState() const { return phase_; }

private:
    // The residual frame's dB magnitudes (and phases, unless it is noise) in
    // box_, and its windowed samples in carried_ while the cap binds.
    void analyseResidual(const HalvorenEngineV1::Cell& cell);
    void addBoost(Halvoren::PeakList& peaks, float weight) const;

    float sampleRate_;
    float period_;
    long long lastNumber_ = -1;
    BankSettings bank_;
    Halvoren::AnalysisWindow window_;
    Halvoren::HarmonicPhaseState phase_;
    Halvoren::HarmonicPeakAnalyser analyser_;
    Halvoren::FreqMagAndPhaseBox box_;
    ResidualFrameCache spectra_;
    HalvorenEngine::NoiseWeightCap spreadCap_;
    // The residual frame under the analysis window, and the linear gain
    // buildFramePeaks gave it, while the cap binds.
    std::vector<float> carried_;
    float residualGain_ = 1.0f;
    Halvoren::PeakList peaks_;
};

}  // namespace HalvorenEngineV2
