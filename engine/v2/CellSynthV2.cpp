#include "engine/v2/CellSynthV2.h"

#include <cmath>

#include "dsp/TruncToInt.h"
#include "engine/v1/CellGain.h"

namespace HalvorenEngineV2 {

using HalvorenEngineV1::Cell;

namespace {

// Below the lowest sung fundamental a frame is silent, as at 0 Hz; so is one
// whose pitch ratio is not positive and finite.
bool isSung(const Cell& cell)
{
    const float r = cell.pitch / cell.sourcePitch;
    return r > 0.0f && std::isfinite(r) && Halvoren::HarmonicPeakAnalyser::isSungF0(cell.pitch);
}

}  // namespace

CellSynthV2::CellSynthV2(float sampleRate, int hop, const BankSettings& bank)
    : sampleRate_(sampleRate), period_(float(hop) / sampleRate), bank_(bank),
      phase_(sampleRate, bank.maxHarmonicFreq, bank.phaseSetting), analyser_(sampleRate), box_(kFrameSize),
      spreadCap_(kFrameSize, hop)
{
    window_.resize(kFrameSize);
    Halvoren::makeBlackmanHarrisWindow(window_.w.data(), kFrameSize);
    Halvoren::normalizeWindowSum(window_);
}

void CellSynthV2::synthCell(Cell& cell, HalvorenEngine::SampleOutWriter& out)
{
    // A number that does not follow the last starts a new phrase: fresh
    // phases and jitter.
    if (lastNumber_ < 0 || lastNumber_ != static_cast<long long>(cell.number) - 1)
        phase_.reset(HalvorenEngine::truncToInt(0.25f / period_), 0.007f, 0.003f);
    lastNumber_ = cell.number;
    // A silent frame draws nothing: its peaks and residual need no analysis.
    if (!isSung(cell))
        return;
    analyser_.setPeaksSpline(cell.peaks);
    analyseResidual(cell);
    if (!buildFramePeaks(cell, peaks_))
        return;
    if (cell.noise) {
        box_.addSinusoidsRandomPhase();
        // Random phases spread the residual over the frame, unlike the
        // harmonics and a residual re-drawn with its own phases.
        spreadCap_.takeSpread(box_);
    } else {
        box_.addSinusoids();
        // Re-drawn with its own phases, the residual carries the analysis
        // window, all but the drawing's small errors, which are spread.
        spreadCap_.takeSpreadBeside(box_, carried_, residualGain_);
    }
    const Halvoren::PeakList& drawn = phase_.continuePhasesJitter(peaks_, period_);
    drawn.addToSpectrum(box_, &sampleRate_);
    // Without peaks the spectrum may be the spread part alone, transformed already.
    if (!drawn.empty() || !spreadCap_.inverseTaken(box_.re.data()))
        box_.fft.inverse(box_.re.data(), box_.im.data(), box_.re.data());
    box_.swapHalves();
    spreadCap_.capSpread(box_.re.data());
    out.addFrame(cell.number, box_.re.data(), HalvorenEngineV1::cellGain(cell.level));
}

void CellSynthV2::analyseResidual(const Cell& cell)
{
    // The drawing below sets every bin of the box from the magnitudes (and
    // phases) alone, so a frame analysed before needs no transform.
    const bool carry = !cell.noise && spreadCap_.binds();
    const ResidualFrameCache::Key key{cell.residual, cell.residual != nullptr ? cell.position : 0, !cell.noise};
    const bool held = spectra_.restore(key, box_);
    if (held && !carry)
        return;
    // Loading a frame clears the box first.
    if (cell.residual != nullptr)
        box_.loadFrame(*cell.residual, HalvorenEngineV1::frameStart(cell.position, kFrameSize), window_, 1.0f);
    else
        box_.clear();
    if (carry)
        carried_.assign(box_.re.begin(), box_.re.end());
    if (held)
        return;
    box_.fft.forward(box_.re.data(), box_.re.data(), box_.im.data());
    if (cell.noise)
        box_.computeMagsDb();
    else
        box_.computeMagsDbAndPhases();
    spectra_.keep(key, box_);
}

bool CellSynthV2::buildFramePeaks(const Cell& cell, Halvoren::PeakList& out)
{
    out.clear();
    if (!isSung(cell))
        return false;
    const float r = cell.pitch / cell.sourcePitch;
    // The residual loses 12 dB an octave down.
    residualGain_ = 1.0f;
    if (r < 1.0f) {
        box_.addGainDb(40.0f * std::log10(r));
        residualGain_ = r * r;
    }
    if (cell.peaks.empty())
        return true;
    analyser_.sampleHarmonicsSplineWarped(cell.pitch, out);
    const float from[3] = {bank_.tiltOffset, bank_.tiltAmplitude, bank_.tiltRate};
    if (r < 1.0f) {
        const float to[3] = {bank_.tiltOffset, bank_.tiltAmplitude, bank_.tiltRate / (r * r)};
        out.replaceTiltKeepLevel(from, to);
    } else {
        const float to[3] = {bank_.tiltOffset, bank_.tiltAmplitude, bank_.tiltRate / r};
        out.replaceTilt(from, to);
    }
    addBoost(out, cell.boost);
    return true;
}

void CellSynthV2::addBoost(Halvoren::PeakList& peaks, float weight) const
{
    const float halfWidth = 0.5f * bank_.boostWidth;
    const float spread = 2.0f * halfWidth * halfWidth;
    const float height = bank_.boostGain * weight;
    // A boost without a width has no shape.
    if (!(bank_.boostWidth > 0.0f) || !std::isfinite(spread) || height == 0.0f)
        return;
    for (std::size_t k = 0; k < peaks.size(); ++k) {
        const float d = peaks.freqs[k] - bank_.boostCentre;
        peaks.mags[k] += height * std::exp(-(d * d) / spread);
    }
}

}  // namespace HalvorenEngineV2
