#include "engine/v1/CellSynthV1.h"

#include <algorithm>
#include <cmath>

#include "engine/v1/CellGain.h"

namespace HalvorenEngineV1 {

CellSynthV1::CellSynthV1(float sampleRate, int hop)
    : sampleRate_(sampleRate), period_(float(hop) / sampleRate), phase_(sampleRate, 16000.0f, 20),
      analyser_(sampleRate), box_(kFrameSize), spreadCap_(kFrameSize, hop)
{
    window_.resize(kFrameSize);
    Halvoren::makeHammingWindow(window_.w.data(), kFrameSize);
    Halvoren::normalizeWindowSum(window_);
}

void CellSynthV1::synthCell(Cell& cell, HalvorenEngine::SampleOutWriter& out)
{
    // A number that does not follow the last starts a new phrase.
    if (lastNumber_ < 0 || lastNumber_ != static_cast<long long>(cell.number) - 1)
        phase_.clearFrames();
    lastNumber_ = cell.number;

    // Loading a frame clears the box first.
    if (cell.residual != nullptr)
        box_.loadFrame(*cell.residual, frameStart(cell.position, kFrameSize), window_, 1.0f);
    else
        box_.clear();
    box_.fft.forward(box_.re.data(), box_.re.data(), box_.im.data());
    if (cell.noise) {
        box_.computeMagsDb();
        box_.addSinusoidsRandomPhase();
    }
    analyser_.setPeaksSpline(cell.peaks);
    if (!buildFramePeaks(cell, peaks_))
        return;
    // The residual, kept under its own window or re-drawn at random phases,
    // does not carry the shape the writer divides out, unlike the harmonics.
    spreadCap_.takeSpread(box_, cell.noise ? HalvorenEngine::NoiseWeightCap::Spread::even
                                           : HalvorenEngine::NoiseWeightCap::Spread::ownWindow);
    const Halvoren::PeakList& drawn = phase_.continuePhasesV1(peaks_, period_);
    drawn.addToSpectrum(box_, &sampleRate_);
    // Without peaks the spectrum is the residual alone, transformed already.
    if (!drawn.empty() || !spreadCap_.inverseTaken(box_.re.data()))
        box_.fft.inverse(box_.re.data(), box_.im.data(), box_.re.data());
    box_.swapHalves();
    spreadCap_.capSpread(box_.re.data());
    out.addFrame(cell.number, box_.re.data(), cellGain(cell.level));
}

bool CellSynthV1::buildFramePeaks(const Cell& cell, Halvoren::PeakList& out)
{
    out.clear();
    if (cell.peaks.empty())
        return true;
    const float r = cell.pitch / cell.peaks.freqs[0];
    // Below the lowest sung fundamental a frame is silent, as at 0 Hz.
    if (!(r > 0.0f) || !std::isfinite(r) || !Halvoren::HarmonicPeakAnalyser::isSungF0(cell.pitch))
        return false;
    analyser_.sampleHarmonicsSpline(r, out);
    const float clamped = std::clamp(r, 0.5f, 2.0f);
    const float to[3] = {kTilt[0], kTilt[1], kTilt[2] / clamped};
    out.replaceTilt(kTilt, to);
    return true;
}

}  // namespace HalvorenEngineV1
