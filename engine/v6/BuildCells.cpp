#include "engine/v6/BuildCells.h"

#include <vector>

#include "dsp/TruncToInt.h"
#include "engine/v6/CellWalk.h"
#include "engine/v6/FetchRecords.h"

namespace HalvorenEngineV6 {

void buildCells(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, ICellBuildingListener& listener,
                CellFramesMaker makeCellFrames)
{
    state.setListener(&listener);
    HalvorenEngine::CellListCache list;
    runCellLoop(state, score, list, makeCellFrames);
    list.clear();
}

WalkTiming prepareWalk(CellMakerState& state, HalvorenEngine::SynthScoreV3& score)
{
    state.prepare(score);
    for (HalvorenEngine::SynthNoteV3& note : score.notes)
        note.symbolTag.clear();
    WalkTiming timing;
    timing.sampleRate = state.sampleRate();
    timing.hop = static_cast<float>(state.store().getHopSize());
    timing.startOffset = HalvorenEngine::truncToInt(state.headTime() * state.sampleRate());
    return timing;
}

void runCellLoop(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, HalvorenEngine::CellListCache& list,
                 CellFramesMaker makeCellFrames)
{
    const WalkTiming timing = prepareWalk(state, score);
    StateCellRecords records(state);
    std::vector<CellRecord> cells;
    cells.reserve(score.notes.size());
    std::size_t made = 0;
    auto makeNext = [&] {
        if (makeCellFrames != nullptr)
            makeCellFrames(cells[made], state, list);
        ++made;
    };
    bool stopped = false;
    for (std::size_t k = 0; k < score.notes.size() && !stopped; ++k) {
        walkNote(state.symbols(), records, score, k, timing, cells);
        if (k >= 2)
            makeNext();
        stopped = state.isStopped();
    }
    while (!stopped && made < cells.size()) {
        makeNext();
        stopped = state.isStopped();
    }
    list.finished = true;
}

}  // namespace HalvorenEngineV6
