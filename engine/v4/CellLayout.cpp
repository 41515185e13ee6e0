#include "engine/v4/CellLayout.h"

#include <algorithm>

#include "dsp/TruncToInt.h"

namespace HalvorenEngineV4 {

namespace {

using HalvorenEngine::truncToInt;

int clampToInt(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

int spanOf(std::int32_t from, std::int32_t to) { return std::max(0, clampToInt(std::int64_t{to} - from)); }

// Frames of the onset sung before the note: the sung symbol's consonant
// span scaled by element time 0.
int onsetFrames(ICellRecords& records, const CellRecord& cell)
{
    const SrcParameter* r = records.voice(cell.names.symbol, cell.names.timbre, cell.followsTransition());
    if (r == nullptr)
        return 0;
    return std::max(0, truncToInt(static_cast<float>(spanOf(r->v4Param1, r->v4Param2)) * cell.onsetFactor));
}

}  // namespace

void validateCell(CellRecord& cell, Halvoren::ISymbolMgr& symbols, ICellRecords& records)
{
    CellUnitNames& n = cell.names;
    cell.valid = records.parameter(cell.isBareFinal() ? n.unit : n.symbol, n.timbre) != nullptr ? 1 : 0;
    cell.hasUnitModel = records.parameter(n.unit, n.timbre) != nullptr ? 1 : 0;
    if (cell.hasUnitModel == 0) {
        n.unit = n.symbol;
        std::string initial;
        symbols.splitSyllable(n.unit, initial, n.final);
    }
    cell.hasCrossModel = records.parameter(n.crossUnit, n.crossTimbre) != nullptr ? 1 : 0;
    if (cell.hasCrossModel == 0) {
        n.crossUnit = n.unit;
        n.crossTimbre = n.timbre;
    }
}

void walkNote(Halvoren::ISymbolMgr& symbols, ICellRecords& records, HalvorenEngine::SynthScoreV3& score,
              std::size_t k, const WalkTiming& timing, std::vector<CellRecord>& cells)
{
    CellRecord cell;
    static_cast<HalvorenEngineV3::CellRecord&>(cell) = HalvorenEngineV3::startCell(symbols, score, k, timing);
    validateCell(cell, symbols, records);
    score.notes[k].elemTime0 = cell.onsetFactor;
    const bool afterJoin = !cells.empty() && cells.back().transition != 0;
    cell.onsetShortened = afterJoin ? 1 : 0;
    bool silentOnset = cell.valid == 0;
    if (afterJoin)
        silentOnset = silentOnset || cell.initialClass != 0;
    else
        silentOnset = silentOnset || cell.isBareFinal() || symbols.isBreath(cell.names.symbol);
    cell.cellOffset = silentOnset ? 0 : onsetFrames(records, cell);
    if (!cells.empty())
        HalvorenEngineV3::trimOverlap(cells.back(), cell, &HalvorenEngineV3::CellRecord::cellLength);
    cells.push_back(std::move(cell));
}

CellLayout layoutCell(Halvoren::ISymbolMgr& symbols, ICellRecords& records, const CellRecord& cell)
{
    CellLayout out;
    const CellUnitNames& n = cell.names;
    const bool own = cell.followsTransition();
    out.unit = records.voice(n.unit, n.timbre, own);
    out.cross = records.voice(n.crossUnit, n.crossTimbre, own);
    if (!cell.isBareFinal())
        out.onset = records.voice(n.symbol, n.timbre, own);
    bool nextStandsAlone = false;
    const bool intoFinal = cell.transition != 0 && symbols.isFinal(n.nextSymbol, nextStandsAlone);
    if (cell.transition != 0) {
        if (!intoFinal || nextStandsAlone)
            out.nextSymbol = records.voice(n.nextSymbol, n.nextTimbre, true);
        out.nextUnit = records.voice(n.nextUnit, n.nextTimbre, true);
        out.nextCross = records.voice(n.nextCrossUnit, n.nextCrossTimbre, true);
    }
    if (out.onset != nullptr) {
        out.onsetLen = spanOf(out.onset->v4Param1, out.onset->v4Param2);
        out.secondLen = spanOf(out.onset->v4Param2, out.onset->v4Param3);
    }
    if ((own && cell.initialClass != 0) || (!own && cell.isBareFinal()))
        out.onsetLen = out.secondLen = 0;
    if (out.unit != nullptr) {
        out.steady = spanOf(out.unit->v4Param3, out.unit->v4Param4);
        out.srcStart = out.unit->v4Param4;
        out.srcLen = std::max(0, out.unit->v4Param5);
    }
    out.nextInitial = n.nextInitial;
    out.intoFinal = intoFinal;
    if (cell.transition == 0) {
        out.tail = records.continuant("-", n.timbre);
        if (out.tail != nullptr)
            out.mode = kEndMergeToSource;
    } else if (intoFinal) {
        out.mode = kEndMergeModels;
        out.tail = records.continuant(out.nextInitial, n.timbre);
        if (out.tail != nullptr)
            out.mode = kEndThroughTail;
        // A bare final's own record is never fetched: its unit stands in.
        if (out.nextSymbol == nullptr)
            out.nextSymbol = out.nextUnit;
        if (out.nextSymbol != nullptr)
            out.nextAnchor = out.nextSymbol->v4Param3;
    } else {
        out.nextInitial = symbols.substituteConsonant(out.nextInitial);
        out.tail = records.continuant(out.nextInitial, n.timbre);
        if (out.tail != nullptr)
            out.mode = symbols.isVoiced(out.nextInitial) ? kEndThroughTail : kEndMergeToSource;
        if (out.nextSymbol != nullptr)
            out.nextAnchor = out.nextSymbol->v4Param1;
    }
    if (out.tail != nullptr) {
        out.srcStart = out.tail->v4ContParam1;
        out.srcLen = std::max(0, out.tail->v4ContParam2);
    }
    const HalvorenEngineV3::PartLengths lengths =
        HalvorenEngineV3::partLengthsOf(cell, std::max(0, cell.cellLength), out.secondLen, out.steady, out.srcLen);
    out.midLen = lengths.midLen;
    out.bodyLen = lengths.bodyLen;
    out.endLen = lengths.endLen;
    return out;
}

BreathSpan breathSpan(const CellRecord& cell, const SrcParameter& record)
{
    BreathSpan out;
    out.span = std::max(0, clampToInt(std::int64_t{record.v4Param5} + record.v4Param4 - record.v4Param2));
    HalvorenEngineV3::placeBreath(cell.cellStart, cell.cellLength, out.span, out.start, out.length);
    return out;
}

}  // namespace HalvorenEngineV4
