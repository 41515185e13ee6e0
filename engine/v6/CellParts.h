#pragma once
// The frames of one sixth-generation cell, part by part: the consonant
// before the note's start (crossing out of a breath before it), the head
// from the syllable's own model into its unit model, the body and the tail.
// A breath cell is its breath record stretched over the cell. Every frame
// goes out through the state's emitter at base + the cell's running counter;
// a part that makes nothing still moves the counter past its frames.
#include "engine/CellListCache.h"
#include "engine/v6/CellMakerState.h"
#include "engine/v6/CellRecord.h"

namespace HalvorenEngineV6 {

void makeCellFrames(const CellRecord& cell, CellMakerState& state, HalvorenEngine::CellListCache& list);

}  // namespace HalvorenEngineV6
