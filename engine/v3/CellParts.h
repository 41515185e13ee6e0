#pragma once
// The part builders of a third-generation cell: each makes the frames of one
// part from stored band models at the pitch and gender of every frame's time
// and hands them on through the state. A part of fewer than one output or
// source frame makes nothing; model positions are clamped into the model.
#include "dsp/FrameMags.h"
#include "dsp/GHR_modelPkg.h"
#include "dsp/PeakList.h"
#include "engine/v3/CellMakerStateBase.h"
#include "engine/v3/CellMakers.h"

namespace HalvorenEngineV3 {

// What a distinct cross model adds to the own model at the body's start.
struct CrossDelta {
    Halvoren::PeakList peaks;
    Halvoren::FrameMags residual;
};

// A model walked by a recording's band changes: the model's anchor frame
// corrected by (source band frame - the source's reference band frame), the
// residual walked between the anchor and the loop end.
//
// With blendFromSource set (the form of the later banks), a frame whose
// source band frame and peak frame are both not empty is the blend of the
// recording (weight 1 - i / outLen) and the corrected model (i / outLen):
// the part starts on the recording and moves into the corrected model.
struct SourceDrive {
    const Halvoren::GHR_modelPkg* model = nullptr;
    int anchor = 0;
    int loopEnd = 0;
    const Halvoren::GHR_modelPkg* source = nullptr;
    int refFrame = 0;
    bool blendFromSource = false;
};

// Model frames srcStart .. srcStart + srcLen onto outLen frames.
void emitModelPart(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& model, int srcStart, int srcLen, int outLen,
                   CellCursor& at, bool unvoiced);
// As emitModelPart, voiced, fading in over the first min(7, outLen)
// frames: frame 0 at -120 dB, frame i < m at 20 log10(i / m) dB.
void emitModelPartFadingIn(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& model, int srcStart, int srcLen,
                           int outLen, CellCursor& at);
// The extra level of frame i of a fade-in over m frames.
float fadeInDb(int i, int m);
// The driven model over source frames srcStart .. srcStart + srcLen onto outLen frames.
void emitSourcePart(CellMakerStateBase& state, const SourceDrive& drive, int srcStart, int srcLen, int outLen,
                    CellCursor& at);
// The difference between the Cross blend of (own at ownFrame, cross at
// crossFrame) and the own frame, at time t.
void makeCrossDelta(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& own, int ownFrame,
                    const Halvoren::GHR_modelPkg& cross, int crossFrame, float t, CrossDelta& out);
// As the two above, gliding into the delta: weight 0 at the first frame,
// growing by 1 / outLen per frame.
void emitModelPartWithDelta(CellMakerStateBase& state, const Halvoren::GHR_modelPkg& model, int srcStart, int srcLen,
                            int outLen, const CrossDelta& delta, CellCursor& at);
void emitSourcePartWithDelta(CellMakerStateBase& state, const SourceDrive& drive, int srcStart, int srcLen, int outLen,
                             const CrossDelta& delta, CellCursor& at);

// One stretch of a model: frames start .. start + length.
struct ModelSpan {
    const Halvoren::GHR_modelPkg* model = nullptr;
    int start = 0;
    int length = 0;
};
// The body of a note with a cross model: both spans onto n frames, blended
// by the Cross curve (the cross model's weight).
void emitPieceFramesCross(CellMakerStateBase& state, const ModelSpan& own, const ModelSpan& cross, int n,
                          CellCursor& at);
// Frames 0 .. n - 1 of a maker.
void emitPieceFrames(CellMakerStateBase& state, CellMakerCore& maker, int n, CellCursor& at);
// Frames 0 .. n - 1 of two makers, blended by the Cross curve (the cross
// maker's weight), extra gains mixed likewise.
void emitTwoMakerFrames(CellMakerStateBase& state, CellMakerCore& own, CellMakerCore& cross, int n, CellCursor& at);

}  // namespace HalvorenEngineV3
