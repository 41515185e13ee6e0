#pragma once
// The part builders of a fourth-generation cell. The plain model part, its
// fading-in form for onsets, the cross body and the maker loops are the
// third generation's, over the state both generations share; the middle
// builder reads this generation's records.
#include "engine/v3/CellParts.h"
#include "voicebank/v4/SourceRecords.h"

namespace HalvorenEngineV4 {

using HalvorenEngineV3::CellCursor;
using HalvorenEngineV3::CrossDelta;
using HalvorenEngineV3::emitModelPart;
using HalvorenEngineV3::emitModelPartFadingIn;
using HalvorenEngineV3::emitModelPartWithDelta;
using HalvorenEngineV3::emitPieceFrames;
using HalvorenEngineV3::emitPieceFramesCross;
using HalvorenEngineV3::emitTwoMakerFrames;
using HalvorenEngineV3::fadeInDb;
using HalvorenEngineV3::makeCrossDelta;
using HalvorenEngineV3::ModelSpan;
using HalvorenEngineV3::SourceDrive;

// The unit model driven by the onset record, in the blending form: anchor
// the unit's v4Param3, walked to the middle of its steady span (v4Param3 ..
// v4Param4), bent by the onset record's bands against its v4Param3 frame.
// Null models when a record has no material.
SourceDrive middleDrive(const VoiceSrc& unit, const VoiceSrc& onset);

// The middle part: the onset record's second span (from its v4Param2 over
// secondLen frames) onto midLen frames, moving from the onset record's sound
// into the corrected unit model. With a delta (a distinct cross record) the
// frames also glide into it. Nothing when a length is below 1 or a record
// has no frames.
void emitMiddlePart(HalvorenEngineV3::CellMakerStateBase& state, const VoiceSrc& unit, const VoiceSrc& onset,
                    int secondLen, int midLen, CellCursor& at, const CrossDelta* delta = nullptr);

}  // namespace HalvorenEngineV4
