#include "engine/v4/CellMakers.h"

#include <algorithm>
#include <cstdint>

#include "dsp/LinearEnvelope.h"
#include "dsp/TruncToInt.h"

namespace HalvorenEngineV4 {

using HalvorenEngine::truncToInt;
using HalvorenEngineV3::bandDifference;
using HalvorenEngineV3::bandsAt;
using HalvorenEngineV3::bentAnchorFrame;
using HalvorenEngineV3::frameCountOf;
using HalvorenEngineV3::peaksAt;
using HalvorenEngineV3::residualAt;

bool CellMakerCore_FromStdModelAndSrcModel_merge2src::setUp(int s0, int length, int n, int base, int counter,
                                                             float percentage)
{
    if (n < 1 || length < 1 || frameCountOf(model_) < 1 || frameCountOf(source_) < 1)
        return false;
    setModel(s0, length, n, base, counter);
    peaksAt(model_, b_, modelPeaks_);
    bandsAt(source_, r_, reference_);
    fade_ = mergeFadeLength(percentage, n);
    return true;
}

void CellMakerCore_FromStdModelAndSrcModel_merge2src::make(int i, Halvoren::PeakList& peaks,
                                                          Halvoren::FrameMags& envelope, float& levelDb)
{
    levelDb = 0.0f;
    const float w = mergeFadeWeight(i, fade_);
    const int p = truncToInt(step_ * static_cast<float>(i) + start_);
    Halvoren::GammatoneVector bands;
    bandsAt(source_, p, bands);
    if (bands.values.empty()) {
        peaks.clear();
        residualAt(source_, p, envelope);
    } else {
        Halvoren::LinearEnvelope correction;
        bandDifference(*setting_.bandAxis, bands, reference_, 1.0f, correction);
        bentAnchorFrame(model_, modelPeaks_, b_, b_ + walk_.next(), correction, peaks, envelope);
    }
    const float t = timeOf(i);
    const float ratio = ratioAt(t);
    resample(peaks, t, ratio);
    if (bands.values.empty())
        return;
    Halvoren::PeakList sourcePeaks;
    peaksAt(source_, p, sourcePeaks);
    if (sourcePeaks.empty())
        return;
    Halvoren::FrameMags sourceEnvelope;
    residualAt(source_, p, sourceEnvelope);
    resample(sourcePeaks, t, ratio);
    peaks.blendWith(sourcePeaks, w, peaks);
    Halvoren::frameMix(envelope, sourceEnvelope, w, envelope);
}

bool CellMakerCore_ByMergeTwoModelAndTailSrc::setUp(const Models& models, int n, int base, int counter)
{
    auto hasFrames = [](const Halvoren::GHR_modelPkg* model) { return model != nullptr && frameCountOf(*model) > 0; };
    if (n < 1 || models.tailLength < 1 || !hasFrames(models.first) || !hasFrames(models.next) ||
        !hasFrames(models.tail))
        return false;
    m_ = models;
    n_ = n;
    setModel(models.tailStart, models.tailLength, n, base, counter);
    last_ = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{models.tailStart} + models.tailLength - 1,
                                                      INT32_MIN, INT32_MAX));
    phases_ = tailPhasesFor(n);
    peaksAt(*m_.first, m_.firstAnchor, peaksFirst_);
    residualAt(*m_.first, m_.firstAnchor, envelopeFirst_);
    peaksAt(*m_.next, m_.nextAnchor, peaksNext_);
    residualAt(*m_.next, m_.nextAnchor, envelopeNext_);
    bandsAt(*m_.tail, m_.tailStart, tailFirst_);
    bandsAt(*m_.tail, last_, tailLast_);
    loudFirst_ = peaksFirst_.maxMagDb();
    loudNext_ = peaksNext_.maxMagDb();
    return true;
}

void CellMakerCore_ByMergeTwoModelAndTailSrc::bentModel(int i, const Halvoren::PeakList& anchorPeaks,
                                                       const Halvoren::FrameMags& anchorEnvelope,
                                                       const Halvoren::GammatoneVector& tailBands,
                                                       const Halvoren::GammatoneVector& against,
                                                       Halvoren::PeakList& peaks, Halvoren::FrameMags& envelope)
{
    Halvoren::LinearEnvelope bend;
    bandDifference(*setting_.bandAxis, tailBands, against, 1.0f, bend);
    peaks.assign(anchorPeaks);
    envelope.assign(anchorEnvelope);
    HalvorenEngineV3::addCurveToValues(bend, peaks);
    HalvorenEngineV3::addCurveToFrames(bend, envelope);
    const float t = timeOf(i);
    resample(peaks, t, ratioAt(t));
}

void CellMakerCore_ByMergeTwoModelAndTailSrc::make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& envelope,
                                                  float& levelDb)
{
    levelDb = 0.0f;
    const int p = std::min(truncToInt(step_ * static_cast<float>(i) + start_), last_);
    Halvoren::PeakList tailPeaks;
    Halvoren::FrameMags tailEnvelope;
    Halvoren::GammatoneVector tailBands;
    peaksAt(*m_.tail, p, tailPeaks);
    residualAt(*m_.tail, p, tailEnvelope);
    bandsAt(*m_.tail, p, tailBands);
    if (tailPeaks.empty()) {
        const float w = static_cast<float>(n_ - i) / static_cast<float>(n_);
        Halvoren::LinearEnvelope bendFirst, bendNext;
        bandDifference(*setting_.bandAxis, tailBands, tailFirst_, 1.0f, bendFirst);
        bandDifference(*setting_.bandAxis, tailBands, tailLast_, 1.0f, bendNext);
        blendBent(i, w, {peaksFirst_, envelopeFirst_, bendFirst}, {peaksNext_, envelopeNext_, bendNext}, peaks,
                  envelope);
        const float target = w * loudFirst_ + (1.0f - w) * loudNext_;
        const float loudest = peaks.maxMagDb();
        if (target < loudest)
            levelDb = target - loudest;
        return;
    }
    const float t = timeOf(i);
    resample(tailPeaks, t, ratioAt(t));
    const TailPhases& ph = phases_;
    if (i < ph.merge) {
        const float w = static_cast<float>(ph.merge - i) / static_cast<float>(ph.merge);
        bentModel(i, peaksFirst_, envelopeFirst_, tailBands, tailFirst_, peaks, envelope);
        peaks.blendWith(tailPeaks, w, peaks);
        Halvoren::frameMix(envelope, tailEnvelope, w, envelope);
    } else if (i < ph.merge + ph.hold) {
        peaks.assign(tailPeaks);
        envelope.assign(tailEnvelope);
    } else {
        const float w = static_cast<float>(n_ - i) / static_cast<float>(ph.tail);
        bentModel(i, peaksNext_, envelopeNext_, tailBands, tailLast_, peaks, envelope);
        tailPeaks.blendWith(peaks, w, peaks);
        Halvoren::frameMix(tailEnvelope, envelope, w, envelope);
    }
}

}  // namespace HalvorenEngineV4
