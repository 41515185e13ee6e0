#pragma once
// Reading the frames of a stored band model for the cell makers: positions
// clamped into the model, band differences turned into dB corrections over
// the band axis, and the back-and-forth walk of a loop range.
#include <vector>

#include "dsp/FrameMags.h"
#include "dsp/GHR_modelPkg.h"
#include "dsp/GammatoneVector.h"
#include "dsp/LinearEnvelope.h"
#include "dsp/PeakList.h"

namespace HalvorenEngineV3 {

// The model's frame count (its peak frames).
int frameCountOf(const Halvoren::GHR_modelPkg& model);
// p clamped into 0 .. count - 1 of the model (0 for a model without frames).
int clampFrame(const Halvoren::GHR_modelPkg& model, int p);

// Peak frame p (clamped); phases are 0.
void peaksAt(const Halvoren::GHR_modelPkg& model, int p, Halvoren::PeakList& out);
// Residual frame p (clamped) of the first or second store.
void residualAt(const Halvoren::GHR_modelPkg& model, int p, Halvoren::FrameMags& out);
void secondResidualAt(const Halvoren::GHR_modelPkg& model, int p, Halvoren::FrameMags& out);
void bandsAt(const Halvoren::GHR_modelPkg& model, int p, Halvoren::GammatoneVector& out);

// The envelope through (axis[i], scale * (a[i] - b[i])); no points (so a
// correction of 0 everywhere) when either band frame is empty.
void bandDifference(const std::vector<float>& axis, const Halvoren::GammatoneVector& a,
                    const Halvoren::GammatoneVector& b, float scale, Halvoren::LinearEnvelope& out);
// Adds the envelope at each peak's frequency to its level.
void addCurveToValues(Halvoren::LinearEnvelope& curve, Halvoren::PeakList& peaks);
// Adds the envelope at each bin's frequency (bin * rate / frame size) to the bin.
void addCurveToFrames(Halvoren::LinearEnvelope& curve, Halvoren::FrameMags& frame);

// The model's anchor frame bent by a band correction and walked: peaks =
// anchorPeaks with the correction added; residual = the second store at the
// anchor with the correction added, plus the first store at walked, minus
// the second store at walked.
void bentAnchorFrame(const Halvoren::GHR_modelPkg& model, const Halvoren::PeakList& anchorPeaks, int anchor,
                     int walked, Halvoren::LinearEnvelope& correction, Halvoren::PeakList& peaks,
                     Halvoren::FrameMags& residual);

// to - from, kept within +-INT32_MAX: the anchor and loop end of a damaged
// record may lie too far apart for an int.
int loopLimit(int from, int to);

// Offsets 0, 1, ..., limit, ..., 1, 0, 1, ... (negative steps for a negative
// limit); always 0 for limit 0.
class LoopWalk {
public:
    explicit LoopWalk(int limit) : limit_(limit), step_(limit < 0 ? -1 : 1) {}
    // The current offset; then moves on.
    int next();

private:
    int limit_;
    int step_;
    int offset_ = 0;
};

}  // namespace HalvorenEngineV3
