#pragma once
// The cell building of a sixth-generation job: walks the score's notes into
// cell records and has every cell's frames made two cells behind the walk,
// once the trims of the two following notes have settled its length.
// Returns early once the state's stop flag is set.
#include "engine/CellListCache.h"
#include "engine/SynthScoreV3.h"
#include "engine/v6/CellMakerState.h"
#include "engine/v6/CellRecord.h"
#include "engine/v6/CellWalk.h"

namespace HalvorenEngineV6 {

// Makes the frames of one cell through the state's emitter.
using CellFramesMaker = void (*)(const CellRecord& cell, CellMakerState& state, HalvorenEngine::CellListCache& list);

// Readies state and score for a walk of the score's notes: the state takes
// the score's head time and curves, the notes' symbol tags are emptied (they
// play no part in this generation), and the walk's timing is returned, its
// start offset the head time only, not the job's offset to the first note.
WalkTiming prepareWalk(CellMakerState& state, HalvorenEngine::SynthScoreV3& score);

// The worker's entry: frames go to listener (which must outlive the run)
// and the run's own list is cleared at the end. The score's symbol tags are
// emptied and its consonant factors clamped to 0..100 in place.
void buildCells(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, ICellBuildingListener& listener,
                CellFramesMaker makeCellFrames);

// The note loop, frames into list unless the state has a listener; the
// list's finished flag is set at its end, also after a stop. A null maker
// makes no frames.
void runCellLoop(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, HalvorenEngine::CellListCache& list,
                 CellFramesMaker makeCellFrames);

}  // namespace HalvorenEngineV6
