#include "engine/v4/PrepareCells.h"

#include <cmath>


namespace HalvorenEngineV4 {

SrcParameter* PlannedCellRecords::parameter(const std::string& unit, const std::string& pitch)
{
    const std::string stored = store_.getRecordKey(unit, pitch);
    return stored.empty() ? nullptr : cache_.getSrcParameter(store_, unit, stored);
}

SrcParameter* PlannedCellRecords::voice(const std::string& unit, const std::string& pitch, bool retryWithDash)
{
    SrcParameter* found = parameter(unit, pitch);
    if (found == nullptr && retryWithDash)
        found = parameter("-" + unit, pitch);
    return found;
}

SrcContinuantParameter* PlannedCellRecords::continuant(const std::string& name, const std::string& pitch)
{
    const std::string stored = store_.getRecordKey(name, pitch);
    return stored.empty() ? nullptr : cache_.getSrcContinuantParameter(store_, name, stored);
}

std::vector<HalvorenEngine::NoteTimes> prepareCells(ISourceStore& store, Halvoren::ISymbolMgr& symbols,
                                                    HalvorenEngine::SynthScoreV3& score)
{
    std::vector<HalvorenEngine::NoteTimes> out;
    const std::int32_t hopSize = store.getHopSize();
    const float sampleRate = store.getSampleRate();
    // A bank the job cannot render has no timing either.
    if (hopSize < 1 || hopSize > 256 || !std::isfinite(sampleRate) || sampleRate <= 0.0f)
        return out;
    PlannedCellRecords records(store);
    const WalkTiming timing = HalvorenEngineV3::walkTimingOf(sampleRate, hopSize, score.leadIn);
    const float hop = timing.hop;
    const float rate = timing.sampleRate;
    auto seconds = [&](int frames) { return static_cast<float>(frames) * hop / rate; };

    std::vector<CellRecord> cells;
    for (std::size_t k = 0; k < score.notes.size(); ++k)
        walkNote(symbols, records, score, k, timing, cells);

    out.reserve(cells.size());
    for (const CellRecord& cell : cells) {
        HalvorenEngine::NoteTimes times;
        std::array<float, 8>& v = times.values;
        const SrcParameter* breath = cell.valid != 0 && symbols.isBreath(cell.names.symbol)
                                         ? records.voice(cell.names.symbol, cell.names.timbre,
                                                         cell.followsTransition())
                                         : nullptr;
        if (cell.valid == 0) {
            v = {seconds(cell.cellStart) - score.leadIn, 0, 0, 0, seconds(cell.cellLength), 0, 0,
                 seconds(cell.cellLength)};
        } else if (breath != nullptr) {
            const BreathSpan b = breathSpan(cell, *breath);
            v = {seconds(b.start) - score.leadIn, 0, 0, 0, seconds(b.length), 0, 0, seconds(b.length)};
        } else {
            const CellLayout lay = layoutCell(symbols, records, cell);
            v = {seconds(cell.cellStart) - score.leadIn, seconds(lay.onsetLen), seconds(lay.secondLen),
                 seconds(cell.cellOffset),           seconds(cell.cellLength), seconds(lay.midLen),
                 seconds(lay.bodyLen),               seconds(lay.endLen)};
        }
        out.push_back(times);
    }
    return out;
}

}  // namespace HalvorenEngineV4
