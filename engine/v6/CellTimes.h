#pragma once
// The timing of a sixth-generation score's cells as the editor shows it:
// the cells planned as the job plans them, each laid out into consonant,
// head, body and tail by the rules the frame making follows, without making
// any frame.
#include <vector>

#include "engine/SynthScoreV3.h"
#include "engine/v6/CellMakerState.h"
#include "engine/v6/CellRecord.h"

namespace HalvorenEngineV6 {

// One record per note of score, in note order, in seconds: cellStart less
// the head time, the syllable's consonant and head spans, cellOffset,
// cellLength, and the head, body and tail parts. Readies state and score as
// the job's loop does (prepareWalk) and writes the consonant factors back
// clamped to 0..100. The state must have its store attached.
void prepareCells(CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                  std::vector<HalvorenEngine::NoteTimes>& out);
// The record of one cell, appended to out.
void planCellTimes(const CellRecord& cell, CellMakerState& state, std::vector<HalvorenEngine::NoteTimes>& out);

}  // namespace HalvorenEngineV6
