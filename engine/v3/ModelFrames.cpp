#include "engine/v3/ModelFrames.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace HalvorenEngineV3 {

int frameCountOf(const Halvoren::GHR_modelPkg& model) { return std::max(0, model.peaks.frameCount); }

int clampFrame(const Halvoren::GHR_modelPkg& model, int p)
{
    return std::clamp(p, 0, std::max(0, frameCountOf(model) - 1));
}

void peaksAt(const Halvoren::GHR_modelPkg& model, int p, Halvoren::PeakList& out)
{
    model.peaks.getFrame(clampFrame(model, p), out);
    // Every list handed on holds three vectors of one length.
    out.phases.assign(out.freqs.size(), 0.0f);
    out.truncate(out.size());
}

void residualAt(const Halvoren::GHR_modelPkg& model, int p, Halvoren::FrameMags& out)
{
    model.magsA.getFrame(clampFrame(model, p), out);
}

void secondResidualAt(const Halvoren::GHR_modelPkg& model, int p, Halvoren::FrameMags& out)
{
    model.magsB.getFrame(clampFrame(model, p), out);
}

void bandsAt(const Halvoren::GHR_modelPkg& model, int p, Halvoren::GammatoneVector& out)
{
    model.bands.getFrame(out, clampFrame(model, p));
}

void bandDifference(const std::vector<float>& axis, const Halvoren::GammatoneVector& a,
                    const Halvoren::GammatoneVector& b, float scale, Halvoren::LinearEnvelope& out)
{
    out.clear();
    if (a.values.empty() || b.values.empty())
        return;
    const std::size_t n = std::min({axis.size(), a.values.size(), b.values.size()});
    for (std::size_t i = 0; i < n; ++i)
        out.addPoint(axis[i], scale * (a.values[i] - b.values[i]));
}

void addCurveToValues(Halvoren::LinearEnvelope& curve, Halvoren::PeakList& peaks)
{
    if (curve.size() == 0)
        return;
    curve.cursor = 0;
    const std::size_t n = std::min(peaks.freqs.size(), peaks.mags.size());
    for (std::size_t i = 0; i < n; ++i)
        peaks.mags[i] += curve.valueAt(peaks.freqs[i]);
}

void addCurveToFrames(Halvoren::LinearEnvelope& curve, Halvoren::FrameMags& frame)
{
    if (curve.size() == 0)
        return;
    curve.cursor = 0;
    const float rate = frame.sampleRate > 0.0f ? frame.sampleRate : 44100.0f;
    const float size = frame.frameSize > 0 ? static_cast<float>(frame.frameSize) : 512.0f;
    float* values = frame.ptrBegin();
    const int n = static_cast<int>(frame.numSamples());
    for (int i = 0; i < n; ++i)
        values[i] += curve.valueAt(static_cast<float>(i) * rate / size);
}

void bentAnchorFrame(const Halvoren::GHR_modelPkg& model, const Halvoren::PeakList& anchorPeaks, int anchor,
                     int walked, Halvoren::LinearEnvelope& correction, Halvoren::PeakList& peaks,
                     Halvoren::FrameMags& residual)
{
    peaks.assign(anchorPeaks);
    addCurveToValues(correction, peaks);
    secondResidualAt(model, anchor, residual);
    addCurveToFrames(correction, residual);
    Halvoren::FrameMags add, sub;
    residualAt(model, walked, add);
    secondResidualAt(model, walked, sub);
    Halvoren::frameAdd(residual, add);
    Halvoren::frameSubtract(residual, sub);
}

int loopLimit(int from, int to)
{
    constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
    return static_cast<int>(std::clamp(std::int64_t{to} - from, -most, most));
}

int LoopWalk::next()
{
    const int at = offset_;
    if (limit_ == 0)
        return at;
    offset_ += step_;
    if (std::abs(offset_) >= std::abs(limit_) || offset_ == 0)
        step_ = -step_;
    return at;
}

}  // namespace HalvorenEngineV3
