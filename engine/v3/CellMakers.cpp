#include "engine/v3/CellMakers.h"

#include <algorithm>

#include "dsp/TruncToInt.h"

namespace HalvorenEngineV3 {

float applyCurveBlend(float v, float upper, float neutral, float lower)
{
    if (v >= 0.0f) {
        const float r = v * upper + (1.0f - v) * neutral;
        return std::clamp(r, std::min(neutral, upper), std::max(neutral, upper));
    }
    const float r = (1.0f + v) * neutral - v * lower;
    return std::clamp(r, std::min(neutral, lower), std::max(neutral, lower));
}

void CellMakerCore::setModel(int start, int length, int n, int cellStart, int local)
{
    step_ = n > 0 ? static_cast<float>(length) / static_cast<float>(n) : 0.0f;
    start_ = static_cast<float>(start);
    cellStart_ = cellStart;
    partStart_ = local;
}

float CellMakerCore::timeOf(int i) const
{
    return static_cast<float>(cellStart_ + partStart_ + i) * setting_.period - setting_.t0;
}

float CellMakerCore::ratioAt(float t)
{
    const float v = setting_.gender != nullptr ? setting_.gender->valueAt(t) : 0.0f;
    ratio_ = applyCurveBlend(v, setting_.upper, setting_.neutral, setting_.lower);
    return ratio_;
}

void CellMakerCore::resample(Halvoren::PeakList& peaks, float t, float ratio)
{
    const float f0 = setting_.pitch != nullptr ? setting_.pitch->valueAt(t) : 0.0f;
    setting_.analyser->setPeaks(peaks);
    setting_.analyser->sampleHarmonicsWarped(f0, ratio, peaks);
}

void CellMakerCore::blendBent(int i, float w, const BentFrame& first, const BentFrame& second,
                              Halvoren::PeakList& peaks, Halvoren::FrameMags& residual)
{
    Halvoren::PeakList a, b;
    Halvoren::FrameMags ra, rb;
    a.assign(first.peaks);
    b.assign(second.peaks);
    ra.assign(first.residual);
    rb.assign(second.residual);
    addCurveToValues(first.bend, a);
    addCurveToFrames(first.bend, ra);
    addCurveToValues(second.bend, b);
    addCurveToFrames(second.bend, rb);
    const float t = timeOf(i);
    const float ratio = ratioAt(t);
    resample(a, t, ratio);
    resample(b, t, ratio);
    a.blendWith(b, w, peaks);
    Halvoren::frameMix(ra, rb, w, residual);
}

void CellMakerCore_FromStdModel::make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual,
                                      float& extraGainDb)
{
    const int p = HalvorenEngine::truncToInt(step_ * static_cast<float>(i) + start_);
    peaksAt(model_, p, peaks);
    residualAt(model_, p, residual);
    const float t = timeOf(i);
    resample(peaks, t, ratioAt(t));
    extraGainDb = 0.0f;
}

float CellMakerCore_FromStdModelAndSrcModel_merge::fadeWeight(int i, int k)
{
    if (i >= k || k <= 0)
        return 0.0f;
    return static_cast<float>(k - i) / static_cast<float>(k);
}

void CellMakerCore_FromStdModelAndSrcModel_merge::setUp(int srcStart, int srcLen, int n, int cellStart, int local)
{
    setModel(srcStart, srcLen, n, cellStart, local);
    fade_ = std::max(0, HalvorenEngine::truncToInt(0.4f * static_cast<float>(n)));
    bandsAt(source_, refFrame_, reference_);
    peaksAt(standard_, startFrame_, standardPeaks_);
}

void CellMakerCore_FromStdModelAndSrcModel_merge::make(int i, Halvoren::PeakList& peaks,
                                                      Halvoren::FrameMags& residual, float& extraGainDb)
{
    const float w = fadeWeight(i, fade_);
    const int s = HalvorenEngine::truncToInt(step_ * static_cast<float>(i) + start_);
    Halvoren::GammatoneVector bands;
    Halvoren::PeakList sourcePeaks;
    Halvoren::FrameMags sourceResidual;
    bandsAt(source_, s, bands);
    peaksAt(source_, s, sourcePeaks);
    residualAt(source_, s, sourceResidual);
    Halvoren::PeakList standard;
    Halvoren::FrameMags standardResidual;
    if (!bands.values.empty()) {
        Halvoren::LinearEnvelope correction;
        bandDifference(*setting_.bandAxis, bands, reference_, 1.0f, correction);
        bentAnchorFrame(standard_, standardPeaks_, startFrame_, startFrame_ + walk_.next(), correction, standard,
                        standardResidual);
    } else {
        residualAt(standard_, startFrame_, standardResidual);
    }
    const float t = timeOf(i);
    const float ratio = ratioAt(t);
    resample(standard, t, ratio);
    if (sourcePeaks.empty()) {
        peaks.assign(standard);
    } else {
        resample(sourcePeaks, t, ratio);
        sourcePeaks.blendWith(standard, w, peaks);
    }
    Halvoren::frameMix(sourceResidual, standardResidual, w, residual);
    extraGainDb = 0.0f;
}

void CellMakerCore_ByMergeTwoModelAndTailSrc::setUp(const Models& models, int n, int cellStart, int local)
{
    m_ = models;
    n_ = n;
    setModel(models.tailStart, models.tailLength, n, cellStart, local);
    peaksAt(*m_.first, m_.firstAnchor, peaksA_);
    residualAt(*m_.first, m_.firstAnchor, residualA_);
    peaksAt(*m_.second, m_.secondAnchor, peaksB_);
    residualAt(*m_.second, m_.secondAnchor, residualB_);
    // The second model is bent once toward where the next syllable's
    // shortened onset begins.
    if (m_.next != nullptr) {
        Halvoren::GammatoneVector onset, vowel;
        bandsAt(*m_.next, m_.nextOnset, onset);
        bandsAt(*m_.next, m_.nextVowel, vowel);
        Halvoren::LinearEnvelope toward;
        bandDifference(*setting_.bandAxis, onset, vowel, 1.0f, toward);
        addCurveToValues(toward, peaksB_);
        addCurveToFrames(toward, residualB_);
    }
    loudA_ = peaksA_.maxMagDb();
    loudB_ = peaksB_.maxMagDb();
    bandsAt(*m_.tail, m_.tailStart, tailFirst_);
    bandsAt(*m_.tail, m_.tailStart + m_.tailLength - 1, tailLast_);
}

void CellMakerCore_ByMergeTwoModelAndTailSrc::make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual,
                                                  float& extraGainDb)
{
    const float w = n_ > 0 ? static_cast<float>(n_ - i) / static_cast<float>(n_) : 0.0f;
    const int q = HalvorenEngine::truncToInt(step_ * static_cast<float>(i) + start_);
    Halvoren::GammatoneVector tail;
    bandsAt(*m_.tail, q, tail);
    Halvoren::LinearEnvelope bendA, bendB;
    bandDifference(*setting_.bandAxis, tail, tailFirst_, 1.0f, bendA);
    bandDifference(*setting_.bandAxis, tail, tailLast_, 1.0f, bendB);
    blendBent(i, w, {peaksA_, residualA_, bendA}, {peaksB_, residualB_, bendB}, peaks, residual);
    const float target = w * loudA_ + (1.0f - w) * loudB_;
    const float loudest = peaks.maxMagDb();
    extraGainDb = loudest > target ? target - loudest : 0.0f;
}

void CellMakerCore_ByMergeTwoModel::setUp(const Halvoren::GHR_modelPkg& first, int firstAnchor,
                                          const Halvoren::GHR_modelPkg& second, int secondAnchor, int n,
                                          int cellStart, int local)
{
    n_ = n;
    setModel(0, 0, n, cellStart, local);
    peaksAt(first, firstAnchor, peaksA_);
    residualAt(first, firstAnchor, residualA_);
    peaksAt(second, secondAnchor, peaksB_);
    residualAt(second, secondAnchor, residualB_);
    bandsAt(first, firstAnchor, firstBands_);
    bandsAt(second, secondAnchor, secondBands_);
}

void CellMakerCore_ByMergeTwoModel::make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual,
                                         float& extraGainDb)
{
    extraGainDb = 0.0f;
    const float w = n_ > 0 ? static_cast<float>(n_ - i) / static_cast<float>(n_) : 0.0f;
    Halvoren::LinearEnvelope bendA, bendB;
    bandDifference(*setting_.bandAxis, secondBands_, firstBands_, 1.0f - w, bendA);
    bandDifference(*setting_.bandAxis, secondBands_, firstBands_, -w, bendB);
    blendBent(i, w, {peaksA_, residualA_, bendA}, {peaksB_, residualB_, bendB}, peaks, residual);
}

}  // namespace HalvorenEngineV3
