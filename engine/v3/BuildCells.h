#pragma once
// The cell building of a third-generation job: walks the score's notes into
// cells and makes every cell's frames, two cells behind the walk, reporting
// them through the state. Returns early once the state's stop flag is set.
#include "engine/CellListCache.h"
#include "engine/SynthScoreV3.h"
#include "engine/v3/CellLayout.h"
#include "engine/v3/CellMakerState.h"

namespace HalvorenEngineV3 {

using CellBuilder = void (*)(CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                             HalvorenEngine::CellListCache& list);

// The material of a record the job's cache loaded, when it has frames; else null.
const Halvoren::GHR_modelPkg* framesOf(SrcParameter* record);
const Halvoren::GHR_modelPkg* framesOf(SrcContinuantParameter* record);

// The models one end part is made from.
struct EndModels {
    SrcParameter* first = nullptr;   // A
    SrcParameter* second = nullptr;  // B
    SrcParameter* next = nullptr;    // rN
    SrcContinuantParameter* c = nullptr;
    int kind = 0;
};

// The maker of an end part of endLen frames starting at running count
// local of the cell at cellStart; null when its first model has no frames.
using EndMakerFor = std::unique_ptr<CellMakerCore> (*)(CellMakerState& state, const EndModels& models, int endLen,
                                                       int cellStart, int local);
// The makers of banks "3.1" to "3.3". A model, recording or continuant
// without frames counts as absent, and a kind falls back to one that needs
// fewer of them.
std::unique_ptr<CellMakerCore> makeEndMaker(CellMakerState& state, const EndModels& models, int endLen,
                                            int cellStart, int local);

// What a bank version of this generation sings its cells with: its
// end-part makers by kind and its onset and middle builders.
struct CellForm {
    EndMakerFor endMaker = &makeEndMaker;
    // Whether onset and middle parts made from a recording other than the
    // unit start on that recording and blend into the corrected model.
    bool blendFromSource = false;
};

void buildCells(CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                HalvorenEngine::CellListCache& list);

// The note loop, which writes each note's element time 0 back clamped into
// 0..100; the list's finished flag is set at its end.
void runCellLoop(CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                 HalvorenEngine::CellListCache& list, const CellForm& form = {});
// The frames of one cell.
void makeCellFrames(CellMakerState& state, const CellRecord& cell, HalvorenEngine::CellListCache& list,
                    const CellForm& form = {});
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
