#pragma once
// The cell building of banks "3.4" and "3.5": the third generation's cell
// loop with this version's end-part makers, and onset and middle parts that
// start on their recording and blend into the corrected model.
#include <memory>

#include "engine/CellListCache.h"
#include "engine/SynthScoreV3.h"
#include "engine/v3/BuildCells.h"
#include "engine/v3_1/CellMakers.h"

namespace HalvorenEngineV3_1 {

// Kinds 0 and 3 as the third generation makes them. Kind 1 merges the
// model at b into the continuant over the first 60 % of the part; kind 2
// goes from the model at b through the continuant into the next syllable's
// recording at its shortened onset. A kind whose models lack frames falls
// back to the plain model.
std::unique_ptr<CellMakerCore> makeEndMaker(HalvorenEngineV3::CellMakerState& state,
                                            const HalvorenEngineV3::EndModels& models, int endLen, int cellStart,
                                            int local);

void buildCells(HalvorenEngineV3::CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                HalvorenEngine::CellListCache& list);

}  // namespace HalvorenEngineV3_1
