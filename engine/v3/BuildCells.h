#pragma once
// The cell building of a third-generation job: walks the score's notes into
// cells and reports every frame it makes through the state. Returns early
// once the state's stop flag is set.
#include "engine/CellListCache.h"
#include "engine/SynthScoreV3.h"
#include "engine/v3/CellMakerState.h"

namespace HalvorenEngineV3 {

using CellBuilder = void (*)(CellMakerState& state, const HalvorenEngine::SynthScoreV3& score,
                             HalvorenEngine::CellListCache& list);

void buildCells(CellMakerState& state, const HalvorenEngine::SynthScoreV3& score,
                HalvorenEngine::CellListCache& list);

}  // namespace HalvorenEngineV3
