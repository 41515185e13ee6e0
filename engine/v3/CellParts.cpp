#include "engine/v3/CellParts.h"

#include <algorithm>
#include <cmath>

#include "dsp/TruncToInt.h"

namespace HalvorenEngineV3 {

namespace {

using HalvorenEngine::truncToInt;

float crossAt(CellMakerStateBase& state, float t)
{
    return std::clamp(state.curveAt(HalvorenEngine::kScoreCross, t), 0.0f, 1.0f);
}

// The list replaced by the harmonics of f0 read through its envelope.
void resampleWarped(CellMakerStateBase& state, Halvoren::PeakList& peaks, float f0, float ratio)
{
    state.analyser().setPeaks(peaks);
    state.analyser().sampleHarmonicsWarped(f0, ratio, peaks);
}

// The recording a frame of the blending form moves away from, and the
// corrected model's weight.
struct Recording {
    Halvoren::PeakList peaks;
    Halvoren::FrameMags residual;
    float modelWeight = 0.0f;
};

// Resamples the frame at the time of its output index, blends it with the
// recording when there is one, adds w times the delta when there is one and
// hands it on.
void finishFrame(CellMakerStateBase& state, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, bool unvoiced,
                 const CrossDelta* delta, float w, float gainDb, Recording* recording, CellCursor& at)
{
    const float t = state.timeOf(at.firstFrame + at.local);
    const float f0 = state.curveAt(HalvorenEngine::kScorePitch, t);
    const float ratio = state.blendGenderAt(t);
    resampleWarped(state, peaks, f0, ratio);
    if (recording != nullptr) {
        resampleWarped(state, recording->peaks, f0, ratio);
        peaks.blendWith(recording->peaks, recording->modelWeight, peaks);
        Halvoren::frameMix(residual, recording->residual, recording->modelWeight, residual);
    }
    if (delta != nullptr) {
        Halvoren::PeakList deltaPeaks;
        deltaPeaks.assign(delta->peaks);
        resampleWarped(state, deltaPeaks, f0, ratio);
        deltaPeaks.addScaledMagsTo(peaks, w);
        Halvoren::frameAddScaled(residual, delta->residual, w);
    }
    state.emitFrame(peaks, residual, gainDb, unvoiced, at);
}

void modelPart(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& model, int srcStart, int srcLen, int outLen,
               CellCursor& at, bool unvoiced, const CrossDelta* delta, int fadeIn = 0)
{
    if (outLen < 1 || srcLen < 1 || frameCountOf(model) < 1)
        return;
    const float step = static_cast<float>(srcLen) / static_cast<float>(outLen);
    const float dw = 1.0f / static_cast<float>(outLen);
    float pos = static_cast<float>(srcStart);
    float w = 0.0f;
    Halvoren::PeakList peaks;
    Halvoren::FrameMags residual;
    for (int i = 0; i < outLen; ++i) {
        const int p = truncToInt(pos);
        peaksAt(model, p, peaks);
        residualAt(model, p, residual);
        finishFrame(state, peaks, residual, unvoiced, delta, w, fadeInDb(i, fadeIn), nullptr, at);
        pos += step;
        w += dw;
    }
}

void sourcePart(CellMakerStateBase& state, const SourceDrive& drive, int srcStart, int srcLen, int outLen,
                CellCursor& at, const CrossDelta* delta)
{
    if (outLen < 1 || srcLen < 1 || drive.model == nullptr || drive.source == nullptr ||
        frameCountOf(*drive.model) < 1 || frameCountOf(*drive.source) < 1)
        return;
    const Halvoren::GHR_modelPkg& model = *drive.model;
    const Halvoren::GHR_modelPkg& source = *drive.source;
    const float step = static_cast<float>(srcLen) / static_cast<float>(outLen);
    const float dw = 1.0f / static_cast<float>(outLen);
    Halvoren::GammatoneVector reference;
    bandsAt(source, drive.refFrame, reference);
    Halvoren::PeakList anchorPeaks;
    peaksAt(model, drive.anchor, anchorPeaks);
    LoopWalk walk(loopLimit(drive.anchor, drive.loopEnd));
    float pos = static_cast<float>(srcStart);
    float w = 0.0f;
    Halvoren::GammatoneVector bands;
    Halvoren::LinearEnvelope correction;
    Halvoren::PeakList peaks;
    Halvoren::FrameMags residual;
    Recording recording;
    for (int i = 0; i < outLen; ++i) {
        const int p = truncToInt(pos);
        bandsAt(source, p, bands);
        bool blend = false;
        if (bands.values.empty()) {
            peaks.clear();
            residualAt(source, p, residual);
        } else {
            bandDifference(state.bandAxis(), bands, reference, 1.0f, correction);
            bentAnchorFrame(model, anchorPeaks, drive.anchor, drive.anchor + walk.next(), correction, peaks,
                            residual);
            if (drive.blendFromSource) {
                peaksAt(source, p, recording.peaks);
                blend = !recording.peaks.empty();
            }
        }
        if (blend) {
            residualAt(source, p, recording.residual);
            recording.modelWeight = static_cast<float>(i) / static_cast<float>(outLen);
        }
        finishFrame(state, peaks, residual, false, delta, w, 0.0f, blend ? &recording : nullptr, at);
        pos += step;
        w += dw;
    }
}

}  // namespace

void emitModelPart(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& model, int srcStart, int srcLen, int outLen,
                   CellCursor& at, bool unvoiced)
{
    modelPart(state, model, srcStart, srcLen, outLen, at, unvoiced, nullptr);
}

float fadeInDb(int i, int m)
{
    if (m < 1 || i >= m)
        return 0.0f;
    if (i <= 0)
        return -120.0f;
    return 20.0f * std::log10(static_cast<float>(i) / static_cast<float>(m));
}

void emitModelPartFadingIn(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& model, int srcStart, int srcLen,
                           int outLen, CellCursor& at)
{
    modelPart(state, model, srcStart, srcLen, outLen, at, false, nullptr, std::min(7, outLen));
}

void emitSourcePart(CellMakerStateBase& state, const SourceDrive& drive, int srcStart, int srcLen, int outLen,
                    CellCursor& at)
{
    sourcePart(state, drive, srcStart, srcLen, outLen, at, nullptr);
}

void emitModelPartWithDelta(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& model, int srcStart, int srcLen,
                            int outLen, const CrossDelta& delta, CellCursor& at)
{
    modelPart(state, model, srcStart, srcLen, outLen, at, false, &delta);
}

void emitSourcePartWithDelta(CellMakerStateBase& state, const SourceDrive& drive, int srcStart, int srcLen, int outLen,
                             const CrossDelta& delta, CellCursor& at)
{
    sourcePart(state, drive, srcStart, srcLen, outLen, at, &delta);
}

void makeCrossDelta(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& own, int ownFrame,
                    const Halvoren::GHR_modelPkg& cross, int crossFrame, float t, CrossDelta& out)
{
    Halvoren::PeakList a, b, blend;
    Halvoren::FrameMags ra, rb;
    peaksAt(own, ownFrame, a);
    peaksAt(cross, crossFrame, b);
    residualAt(own, ownFrame, ra);
    residualAt(cross, crossFrame, rb);
    const float f0 = state.curveAt(HalvorenEngine::kScorePitch, t);
    state.analyser().setPeaks(a);
    state.analyser().sampleHarmonics(f0, a);
    state.analyser().setPeaks(b);
    state.analyser().sampleHarmonics(f0, b);
    const float c = crossAt(state, t);
    a.blendWith(b, 1.0f - c, blend);
    Halvoren::frameMix(ra, rb, 1.0f - c, out.residual);
    Halvoren::frameSubtract(out.residual, ra);
    blend.subtractPeaks(a);
    out.peaks.assign(blend);
}

void emitPieceFramesCross(CellMakerStateBase& state, const ModelSpan& own, const ModelSpan& cross, int n, CellCursor& at)
{
    if (n < 1 || own.model == nullptr || cross.model == nullptr || frameCountOf(*own.model) < 1 ||
        frameCountOf(*cross.model) < 1)
        return;
    const float stepA = static_cast<float>(own.length) / static_cast<float>(n);
    const float stepB = static_cast<float>(cross.length) / static_cast<float>(n);
    Halvoren::PeakList a, b, peaks;
    Halvoren::FrameMags ra, rb, residual;
    for (int i = 0; i < n; ++i) {
        const int pa = truncToInt(stepA * static_cast<float>(i) + static_cast<float>(own.start));
        const int pb = truncToInt(stepB * static_cast<float>(i) + static_cast<float>(cross.start));
        peaksAt(*own.model, pa, a);
        residualAt(*own.model, pa, ra);
        peaksAt(*cross.model, pb, b);
        residualAt(*cross.model, pb, rb);
        const float t = state.timeOf(at.firstFrame + at.local);
        const float f0 = state.curveAt(HalvorenEngine::kScorePitch, t);
        const float ratio = state.blendGenderAt(t);
        resampleWarped(state, a, f0, ratio);
        resampleWarped(state, b, f0, ratio);
        const float c = crossAt(state, t);
        b.blendWith(a, c, peaks);
        Halvoren::frameMix(rb, ra, c, residual);
        state.emitFrame(peaks, residual, 0.0f, false, at);
    }
}

void emitPieceFrames(CellMakerStateBase& state, CellMakerCore& maker, int n, CellCursor& at)
{
    Halvoren::PeakList peaks;
    Halvoren::FrameMags residual;
    for (int i = 0; i < n; ++i) {
        float gain = 0.0f;
        maker.make(i, peaks, residual, gain);
        state.blendGenderAt(state.timeOf(at.firstFrame + at.local));
        state.emitFrame(peaks, residual, gain, false, at);
    }
}

void emitTwoMakerFrames(CellMakerStateBase& state, CellMakerCore& own, CellMakerCore& cross, int n, CellCursor& at)
{
    Halvoren::PeakList a, b, peaks;
    Halvoren::FrameMags ra, rb, residual;
    for (int i = 0; i < n; ++i) {
        float gainA = 0.0f, gainB = 0.0f;
        own.make(i, a, ra, gainA);
        cross.make(i, b, rb, gainB);
        const float t = state.timeOf(at.firstFrame + at.local);
        state.blendGenderAt(t);
        const float c = crossAt(state, t);
        b.blendWith(a, c, peaks);
        Halvoren::frameMix(rb, ra, c, residual);
        state.emitFrame(peaks, residual, c * gainB + (1.0f - c) * gainA, false, at);
    }
}

}  // namespace HalvorenEngineV3
