#pragma once
// The cell building of a third-generation job: walks the score's notes into
// cells and makes every cell's frames, two cells behind the walk, reporting
// them through the state. Returns early once the state's stop flag is set.
#include "engine/CellListCache.h"
#include "engine/SynthScoreV3.h"
#include "engine/v3/CellLayout.h"
#include "engine/v3/CellMakerState.h"

namespace HalvorenEngineV3 {

using CellBuilder = void (*)(CellMakerState& state, const HalvorenEngine::SynthScoreV3& score,
                             HalvorenEngine::CellListCache& list);

void buildCells(CellMakerState& state, const HalvorenEngine::SynthScoreV3& score,
                HalvorenEngine::CellListCache& list);

// The note loop; the list's finished flag is set at its end.
void runCellLoop(CellMakerState& state, const HalvorenEngine::SynthScoreV3& score,
                 HalvorenEngine::CellListCache& list);
// The frames of one cell.
void makeCellFrames(CellMakerState& state, const CellRecord& cell, HalvorenEngine::CellListCache& list);
// A breath: noise from the breath recording, at most twice its recorded
// length, ending with its note.
void makeBreathCell(CellMakerState& state, const CellRecord& cell, HalvorenEngine::CellListCache& list);

// The records of the job's cache, as the layout reads them.
class CachedCellRecords : public ICellRecords {
public:
    explicit CachedCellRecords(CellMakerState& state) : state_(state) {}
    SrcParameter* voice(const std::string& unit, const std::string& pitch) override
    {
        return state_.lookupVoiceSrc(unit, pitch);
    }
    SrcContinuantParameter* continuant(const std::string& first, const std::string& second,
                                       const std::string& pitch) override;

private:
    CellMakerState& state_;
};

}  // namespace HalvorenEngineV3
