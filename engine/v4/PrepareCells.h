#pragma once
// The editor's timing plan of a fourth-generation score: the cells laid out
// exactly as the job lays them out, without making their frames, on
// parameter records of the plan's own (the job's cache stays its worker's).
#include <vector>

#include "engine/SynthScoreV3.h"
#include "engine/v4/CellLayout.h"
#include "engine/v4/ISourceStore.h"
#include "lyrics/ISymbolMgr.h"
#include "voicebank/v4/SrcCache.h"

namespace HalvorenEngineV4 {

// The records of a plan: parameter records through a cache of its own.
class PlannedCellRecords : public ICellRecords {
public:
    explicit PlannedCellRecords(ISourceStore& store) : store_(store) {}
    SrcParameter* parameter(const std::string& unit, const std::string& pitch) override;
    SrcParameter* voice(const std::string& unit, const std::string& pitch, bool retryWithDash) override;
    SrcContinuantParameter* continuant(const std::string& name, const std::string& pitch) override;

private:
    ISourceStore& store_;
    SrcCache cache_;
};

// One entry per note, eight values in seconds: the cell's start from the
// job's start, onset and middle spans of the sung record, onset, cell,
// middle, body and end lengths. An invalid cell gives its start and length
// only; a breath where and how long it is sung. The notes' element times 0
// are written back clamped, as the cell loop does.
std::vector<HalvorenEngine::NoteTimes> prepareCells(ISourceStore& store, Halvoren::ISymbolMgr& symbols,
                                                    HalvorenEngine::SynthScoreV3& score);

}  // namespace HalvorenEngineV4
