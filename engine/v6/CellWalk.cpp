#include "engine/v6/CellWalk.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dsp/TruncToInt.h"
#include "engine/v3/CellLayout.h"

namespace HalvorenEngineV6 {

namespace {

using HalvorenEngine::truncToInt;

std::int32_t clampToInt32(std::int64_t v)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::string finalOf(Halvoren::ISymbolMgr& symbols, const std::string& symbol)
{
    std::string initial, final;
    symbols.splitSyllable(symbol, initial, final);
    return final;
}

// Frames of a duration in seconds, toward zero.
std::int32_t framesOf(float seconds, const WalkTiming& timing)
{
    return truncToInt(seconds * timing.sampleRate / timing.hop);
}

// The consonant factor kept in 0..100; a factor that is not a number is 0.
float clampedFactor(float factor)
{
    if (!(factor >= 0.0f))
        return 0.0f;
    return std::min(factor, 100.0f);
}

// Frames of the syllable's consonant (its first two marks apart) times the
// factor; 0 without the record.
double consonantFrames(ICellRecords& records, const CellRecord& cell, float factor, bool exact)
{
    const VoiceSrc* r = records.voiceSrc(cell.names.symbol, cell.names.timbre, exact);
    if (r == nullptr)
        return 0.0;
    return factor * static_cast<float>(std::int64_t{r->v6Param2} - r->v6Param1);
}

double cellOffsetOf(ICellRecords& records, const CellRecord& cell, float factor)
{
    if (cell.followsTransition != 0) {
        if (cell.initialClass != 0 || cell.valid == 0)
            return 0.0;
        if (cell.isBreath != 0)
            return factor * kBreathConsonantFrames;
        return consonantFrames(records, cell, factor, true);
    }
    if (cell.isBoundFinal())
        return 0.0;
    if (cell.isBreath != 0)
        return factor * kBreathConsonantFrames;
    if (cell.valid == 0)
        return 0.0;
    return consonantFrames(records, cell, factor, false);
}

}  // namespace

std::int32_t frameOfTime(float seconds, const WalkTiming& timing)
{
    const float quotient = (seconds * timing.sampleRate + static_cast<float>(timing.startOffset)) / timing.hop;
    return truncToInt(std::fabs(quotient));
}

bool joinsNext(Halvoren::ISymbolMgr& symbols, const HalvorenEngine::SynthScoreV3& score, std::size_t k)
{
    if (k + 1 >= score.notes.size())
        return false;
    const HalvorenEngine::SynthNoteV3& note = score.notes[k];
    const HalvorenEngine::SynthNoteV3& next = score.notes[k + 1];
    if (note.breakAfter != 0 || next.start - (note.start + note.duration) > kJoinGap ||
        symbols.isBreath(note.symbol))
        return false;
    // The overrides only ever clear a join the rule above allows.
    if (symbols.isBreath(next.symbol))
        return symbols.isWholeUnit(next.symbol);
    return !symbols.isExtraUnit(note.symbol);
}

void validateCell(CellRecord& cell, Halvoren::ISymbolMgr& symbols, ICellRecords& records, bool followsTransition)
{
    CellUnitNames& n = cell.names;
    const bool exact = followsTransition;
    const bool unsung = cell.skip != 0 && cell.isBreath == 0;
    const std::string& sung = cell.isBoundFinal() ? n.unit : n.symbol;
    cell.valid = !unsung && records.srcParameter(sung, n.timbre, exact) != nullptr ? 1 : 0;
    cell.hasUnitModel = records.srcParameter(n.unit, n.timbre, exact) != nullptr ? 1 : 0;
    if (cell.hasUnitModel == 0) {
        n.unit = n.symbol;
        n.final = finalOf(symbols, n.unit);
    }
    // No record is stored under an empty name.
    cell.hasSecondModel =
        !n.crossUnit.empty() && records.srcParameter(n.crossUnit, n.crossTimbre, exact) != nullptr ? 1 : 0;
    if (cell.hasSecondModel == 0) {
        n.crossUnit = n.unit;
        n.crossTimbre = n.timbre;
    }
}

void trimOverlap(CellRecord& p, CellRecord& cell)
{
    const std::int64_t onset = std::int64_t{cell.cellStart} - cell.cellOffset;
    const std::int64_t pStart = p.cellStart;
    if (pStart + p.cellLength > onset && p.isBreath == 0) {
        const std::int64_t room = onset - pStart;
        if (2 * room < p.noteLength) {
            p.cellLength = p.noteLength / 2;
            cell.cellOffset = clampToInt32(std::max<std::int64_t>(0, cell.cellStart - pStart - p.cellLength));
        } else {
            p.cellLength = clampToInt32(room);
        }
    }
    cell.afterBreath = p.isBreath;
    cell.names.prevSymbol = p.names.symbol;
    cell.names.prevTimbre = p.names.timbre;
    // What still overlaps once the consonant has its final length.
    const std::int64_t excess = pStart + p.cellLength - (std::int64_t{cell.cellStart} - cell.cellOffset);
    if (excess > 0) {
        cell.overlapIn = clampToInt32(excess);
        p.overlapOut = cell.overlapIn;
        cell.prevCellFrames = clampToInt32(std::int64_t{p.cellOffset} + p.cellLength);
    }
}

void walkNote(Halvoren::ISymbolMgr& symbols, ICellRecords& records, HalvorenEngine::SynthScoreV3& score,
              std::size_t k, const WalkTiming& timing, std::vector<CellRecord>& cells)
{
    HalvorenEngine::SynthNoteV3& note = score.notes[k];
    const HalvorenEngine::SynthNoteV3* next = k + 1 < score.notes.size() ? &score.notes[k + 1] : nullptr;
    CellRecord cell;
    CellUnitNames& n = cell.names;
    if (next != nullptr) {
        symbols.splitSyllable(next->symbol, n.nextInitial, n.nextFinal);
        n.nextSymbol = next->symbol;
        n.nextUnit = HalvorenEngineV3::unitNameFor(symbols, "", next->symbol);
        n.nextTimbre = next->timbre;
    }
    std::string ignored;
    symbols.splitSyllable(note.symbol, n.initial, ignored);
    n.symbol = note.symbol;
    n.unit = HalvorenEngineV3::unitNameFor(symbols, "", note.symbol);
    n.final = finalOf(symbols, n.unit);
    n.timbre = note.timbre;
    cell.elemFlag = note.elemFlag;
    cell.elemTime1 = note.elemTime1;
    cell.elemTime2 = note.elemTime2;
    cell.elemTime3 = note.elemTime3;
    bool standsAlone = false;
    cell.isFinal = symbols.isFinal(note.symbol, standsAlone) ? 1 : 0;
    cell.finalFlag = standsAlone ? 1 : 0;
    cell.skip = symbols.isExtraUnit(note.symbol) ? 1 : 0;
    cell.hold = next != nullptr && symbols.isExtraUnit(next->symbol) ? 1 : 0;
    cell.isBreath = symbols.isBreath(note.symbol) ? 1 : 0;
    cell.followsTransition = !cells.empty() ? cells.back().transition : 0;
    cell.transition = joinsNext(symbols, score, k) ? 1 : 0;

    cell.cellStart = frameOfTime(note.start, timing);
    cell.noteLength = cell.cellLength = framesOf(note.duration, timing);
    if (cell.transition != 0) {
        cell.cellLength = clampToInt32(std::int64_t{frameOfTime(next->start, timing)} - cell.cellStart);
        if (cell.hold != 0)
            cell.cellLength = cell.noteLength = framesOf(next->start + next->duration - note.start, timing);
    }
    if (cell.followsTransition != 0 && cell.skip != 0) {
        cell.cellStart = frameOfTime(note.start + note.duration * 0.5f, timing);
        cell.cellLength = cell.noteLength = 0;
    }

    if (cell.isBoundFinal()) {
        cell.initialClass = cell.initialClass2 = 1;
    } else {
        cell.initialClass = symbols.isZeroInitialSyllable(n.initial) ? 1 : 0;
        cell.initialClass2 = cell.initialClass != 0 || symbols.isVoiced(n.initial) ? 1 : 0;
    }
    validateCell(cell, symbols, records, cell.followsTransition != 0);
    note.elemTime0 = clampedFactor(note.elemTime0);
    // A consonant is never negative: marks stored in reverse give none.
    cell.cellOffset = std::max(0, truncToInt(cellOffsetOf(records, cell, note.elemTime0)));

    if (!cells.empty() && cell.skip == 0)
        trimOverlap(cells.back(), cell);
    cells.push_back(std::move(cell));
}

}  // namespace HalvorenEngineV6
