#include "engine/v6/CellTimes.h"

#include <algorithm>

#include "dsp/TruncToInt.h"
#include "engine/v6/BuildCells.h"
#include "engine/v6/FetchRecords.h"
#include "engine/v6/PartLayout.h"
#include "engine/v6/TailChoice.h"

namespace HalvorenEngineV6 {

using HalvorenEngine::spanOf;

namespace {
// Frames of a breath's consonant in the timing.
constexpr int kBreathConsonantFrameCount = 3;
}  // namespace

void planCellTimes(const CellRecord& cell, CellMakerState& state, std::vector<HalvorenEngine::NoteTimes>& out)
{
    const auto hop = static_cast<float>(state.store().getHopSize());
    const float rate = state.sampleRate();
    auto seconds = [&](std::int64_t frames) { return static_cast<float>(frames) * hop / rate; };
    HalvorenEngine::NoteTimes t;
    auto& v = t.values;
    v[0] = seconds(cell.cellStart) - state.headTime();
    v[4] = seconds(cell.cellLength);
    Halvoren::ISymbolMgr& symbols = state.symbols();
    const CellUnitNames& n = cell.names;
    t.sung = cell.valid != 0 || cell.skip != 0;
    if (cell.valid == 0 || cell.skip != 0) {
        v[7] = v[4];
    } else if (symbols.isBreath(n.symbol)) {
        v[1] = seconds(kBreathConsonantFrameCount);
        v[3] = seconds(cell.cellOffset);
        v[7] = v[4];
    } else {
        const bool exact = cell.followsTransition != 0;
        const SrcParameter* m = fetchSrcParameter(n.unit, n.timbre, state, exact);
        const SrcParameter* x = cell.isBoundFinal() ? nullptr : fetchSrcParameter(n.symbol, n.timbre, state, exact);
        PartSpans spans;
        if (m != nullptr) {
            spans.body = spanOf(m->v6Param3, m->v6Param4);
            spans.srcLen = std::max(m->v6Param5, 0);
        }
        const bool noConsonant = (cell.followsTransition != 0 && cell.initialClass != 0) ||
                                 (cell.followsTransition == 0 && cell.isBoundFinal());
        int c = 0;
        if (x != nullptr && !noConsonant) {
            c = spanOf(x->v6Param1, x->v6Param2);
            spans.head = spanOf(x->v6Param2, x->v6Param3);
        }
        // The tail source the frame making would sing.
        const TailChoice choice = chooseTail(cell, symbols, [&](const std::string& first, const std::string& second) {
            return fetchContinuantParameter(first, second, n.timbre, state) != nullptr;
        });
        if (choice.hasContinuant)
            spans.srcLen = std::max(fetchContinuantParameter(choice.first, choice.second, n.timbre, state)->v6ContParam2, 0);
        spans.length = cell.cellLength;
        spans.elemFlag = cell.elemFlag != 0;
        spans.elemTimes[0] = cell.elemTime1;
        spans.elemTimes[1] = cell.elemTime2;
        spans.elemTimes[2] = cell.elemTime3;
        const PartLayout layout = layoutParts(spans);
        v[1] = seconds(c);
        v[2] = seconds(spans.head);
        v[3] = seconds(cell.cellOffset);
        v[5] = seconds(layout.head);
        v[6] = seconds(layout.body);
        v[7] = seconds(layout.tail);
    }
    out.push_back(t);
}

void prepareCells(CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                  std::vector<HalvorenEngine::NoteTimes>& out)
{
    out.clear();
    const WalkTiming timing = prepareWalk(state, score);
    StateCellRecords records(state);
    std::vector<CellRecord> cells;
    cells.reserve(score.notes.size());
    // A walk trims only the cell before it, so once every note is walked
    // each cell has the length the job's loop gives it two cells behind.
    for (std::size_t k = 0; k < score.notes.size(); ++k)
        walkNote(state.symbols(), records, score, k, timing, cells);
    out.reserve(cells.size());
    for (const CellRecord& cell : cells)
        planCellTimes(cell, state, out);
}

}  // namespace HalvorenEngineV6
