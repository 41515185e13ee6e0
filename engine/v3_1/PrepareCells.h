#pragma once
// The note timing plan of banks "3.1" to "3.5": the cells of a score walked
// and laid out exactly as the third-generation cell loop sings them, each
// given back as eight times in seconds instead of frames.
//
// The plan runs on the editor's thread while a job may be singing from the
// same store, so it has a state of its own: a symbol manager of the
// caller's (the job's keeps the last split it made), a cache of parameter
// records, and the score's start time. The store is only read.
#include <memory>
#include <string>
#include <vector>

#include "engine/SynthScoreV3.h"
#include "engine/v3/CellLayout.h"
#include "engine/v3/ISourceStore.h"
#include "lyrics/ISymbolMgr.h"
#include "voicebank/v3/SrcCache.h"

namespace HalvorenEngineV3_1 {

using HalvorenEngineV3::CellRecord;
using HalvorenEngineV3::SrcContinuantParameter;
using HalvorenEngineV3::SrcParameter;

class CellPlanState {
public:
    CellPlanState(HalvorenEngineV3::ISourceStore& store, Halvoren::ISymbolMgr& symbols);

    Halvoren::ISymbolMgr& symbols() { return symbols_; }
    HalvorenEngineV3::ISourceStore& store() { return store_; }
    HalvorenEngineV3::SrcCache& cache() { return cache_; }

    // The parameter record of unit at the pitch the index stores for it
    // near pitch; null when absent. The cache keeps it.
    SrcParameter* lookupSrcParameter(const std::string& unit, const std::string& pitch);

    // The score's lead-in, which every start is counted from.
    void setStartTime(float seconds) { t0_ = seconds; }
    // frames x hop / rate in single precision; a start has t0 taken off.
    float secondsOf(std::int32_t frames) const;
    float startOf(std::int32_t frame) const { return secondsOf(frame) - t0_; }

private:
    HalvorenEngineV3::ISourceStore& store_;
    Halvoren::ISymbolMgr& symbols_;
    HalvorenEngineV3::SrcCache cache_;
    float t0_ = 0.0f;
};

// The eight values: the start, the recorded onset's and middle part's
// lengths, the sung onset before the start, the cell's length, then the
// middle part, body and end part.
enum NoteTimeValue : int {
    kTimeStart = 0,
    kTimeOnsetLen,
    kTimeSecondLen,
    kTimeCellOffset,
    kTimeCellLength,
    kTimeMidLen,
    kTimeBodyLen,
    kTimeEndLen,
};

// Empties out, then appends one entry per note of the input, in note order;
// each note's element time 0 is written back clamped into 0..100, as the
// cell loop does.
void prepareCells(CellPlanState& state, HalvorenEngine::SynthScoreV3& input,
                  std::vector<HalvorenEngine::NoteTimes>& out);
// The entry of one cell. A cell whose unit is missing from the bank sings
// nothing and gets its start and length only.
void planCellTimes(const CellRecord& cell, CellPlanState& state, std::vector<HalvorenEngine::NoteTimes>& out);
// The entry of a breath cell: where its noise starts, its length as values
// 4 and 7.
void planBreathTimes(const CellRecord& cell, CellPlanState& state, std::vector<HalvorenEngine::NoteTimes>& out);

}  // namespace HalvorenEngineV3_1
