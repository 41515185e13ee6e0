#pragma once
// The cell building of a fourth-generation job: walks the score's notes into
// cells and makes every cell's frames two cells behind the walk, so that a
// cell's length is settled by the trims of the two notes after it. Frames
// are reported through the state. The run ends early, after the cell being
// made, once the state's stop flag is set; the list is marked finished
// either way.
#include "engine/CellListCache.h"
#include "engine/SynthScoreV3.h"
#include "engine/v4/CellLayout.h"
#include "engine/v4/CellMakerState.h"

namespace HalvorenEngineV4 {

using CellBuilder = void (*)(CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                             HalvorenEngine::CellListCache& list);

void buildCells(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, HalvorenEngine::CellListCache& list);
// The note loop; each note's element time 0 is written back clamped.
void runCellLoop(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, HalvorenEngine::CellListCache& list);
// The frames of one cell; none for an invalid cell.
void makeCellFrames(CellMakerState& state, const CellRecord& cell, HalvorenEngine::CellListCache& list);

// The records of the job's cache, as the walk and the layout read them: a
// part is made from the loaded voice records.
class CachedCellRecords : public ICellRecords {
public:
    explicit CachedCellRecords(CellMakerState& state) : state_(state) {}
    SrcParameter* parameter(const std::string& unit, const std::string& pitch) override
    {
        return state_.fetchSrcParameter(unit, pitch, false);
    }
    SrcParameter* voice(const std::string& unit, const std::string& pitch, bool retryWithDash) override
    {
        return state_.fetchVoiceSrc(unit, pitch, retryWithDash);
    }
    SrcContinuantParameter* continuant(const std::string& name, const std::string& pitch) override
    {
        return state_.fetchContinuantSrc(name, pitch, false);
    }

private:
    CellMakerState& state_;
};

}  // namespace HalvorenEngineV4
