#include "engine/v3/BuildCells.h"

namespace HalvorenEngineV3 {

void buildCells(CellMakerState& /*state*/, const HalvorenEngine::SynthScoreV3& /*score*/,
                HalvorenEngine::CellListCache& list)
{
    // No cell makers yet: the run makes no frame.
    list.finished = true;
}

}  // namespace HalvorenEngineV3
