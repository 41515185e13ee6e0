#include "engine/v3_1/PrepareCells.h"

#include <algorithm>

#include "engine/v3/MakeTwoBehind.h"

namespace HalvorenEngineV3_1 {

namespace {

using HalvorenEngine::NoteTimes;

// The records of a plan: parameter records only, the recorded syllable's
// included (the layout reads nothing that a voice record holds beyond them).
class PlanRecords : public HalvorenEngineV3::ICellRecords {
public:
    explicit PlanRecords(CellPlanState& state) : state_(state) {}
    SrcParameter* voice(const std::string& unit, const std::string& pitch) override
    {
        return state_.lookupSrcParameter(unit, pitch);
    }
    SrcContinuantParameter* continuant(const std::string& first, const std::string& second,
                                       const std::string& pitch) override
    {
        const std::string stored = state_.store().getRecordKey(first + "_" + second, pitch);
        if (stored.empty())
            return nullptr;
        return state_.cache().getSrcContinuantParameter(state_.store(), first, second, stored);
    }

private:
    CellPlanState& state_;
};

// Start and length only.
NoteTimes startAndLength(CellPlanState& state, std::int32_t start, std::int32_t length)
{
    NoteTimes t;
    t.values[kTimeStart] = state.startOf(start);
    t.values[kTimeCellLength] = state.secondsOf(length);
    return t;
}

}  // namespace

CellPlanState::CellPlanState(HalvorenEngineV3::ISourceStore& store, Halvoren::ISymbolMgr& symbols)
    : store_(store), symbols_(symbols)
{
}

SrcParameter* CellPlanState::lookupSrcParameter(const std::string& unit, const std::string& pitch)
{
    const std::string stored = store_.getRecordKey(unit, pitch);
    if (stored.empty())
        return nullptr;
    return cache_.getSrcParameter(store_, unit, stored);
}

float CellPlanState::secondsOf(std::int32_t frames) const
{
    const float rate = store_.getSampleRate();
    if (!(rate > 0.0f))
        return 0.0f;
    return static_cast<float>(frames) * static_cast<float>(store_.getHopSize()) / rate;
}

void prepareCells(CellPlanState& state, HalvorenEngine::SynthScoreV3& input, std::vector<NoteTimes>& out)
{
    out.clear();
    state.setStartTime(input.leadIn);
    PlanRecords records(state);
    const HalvorenEngineV3::WalkTiming timing =
        HalvorenEngineV3::walkTimingOf(state.store().getSampleRate(), state.store().getHopSize(), input.leadIn);
    std::vector<CellRecord> cells;
    HalvorenEngineV3::makeTwoBehind(
        input.notes.size(),
        [&](std::size_t k) { HalvorenEngineV3::walkNote(state.symbols(), records, input, k, timing, cells); },
        [&](std::size_t i) { planCellTimes(cells[i], state, out); }, [] { return false; });
}

void planCellTimes(const CellRecord& cell, CellPlanState& state, std::vector<NoteTimes>& out)
{
    if (state.symbols().isBreath(cell.names.symbol)) {
        planBreathTimes(cell, state, out);
        return;
    }
    PlanRecords records(state);
    const HalvorenEngineV3::CellLayout lay = HalvorenEngineV3::layoutCell(state.symbols(), records, cell);
    const std::int32_t length = std::max(0, cell.cellLength);
    NoteTimes t = startAndLength(state, cell.cellStart, length);
    if (lay.m1 != nullptr) {
        t.values[kTimeOnsetLen] = state.secondsOf(lay.onsetLen);
        t.values[kTimeSecondLen] = state.secondsOf(lay.secondLen);
        t.values[kTimeCellOffset] = state.secondsOf(cell.cellOffset);
        t.values[kTimeMidLen] = state.secondsOf(lay.midLen);
        t.values[kTimeBodyLen] = state.secondsOf(lay.bodyLen);
        t.values[kTimeEndLen] = state.secondsOf(lay.endLen);
    }
    t.sung = lay.m1 != nullptr;
    out.push_back(t);
}

void planBreathTimes(const CellRecord& cell, CellPlanState& state, std::vector<NoteTimes>& out)
{
    const SrcParameter* r = state.lookupSrcParameter(cell.names.symbol, cell.names.timbre);
    if (r == nullptr) {
        out.push_back(startAndLength(state, cell.cellStart, std::max(0, cell.cellLength)));
        out.back().sung = false;
        return;
    }
    const HalvorenEngineV3::BreathSpan span = HalvorenEngineV3::breathSpan(cell, *r);
    NoteTimes t = startAndLength(state, span.start, span.length);
    t.values[kTimeEndLen] = t.values[kTimeCellLength];
    out.push_back(t);
}

}  // namespace HalvorenEngineV3_1
