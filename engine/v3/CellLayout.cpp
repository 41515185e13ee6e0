#include "engine/v3/CellLayout.h"

#include <algorithm>
#include <cmath>

#include "dsp/TruncToInt.h"

namespace HalvorenEngineV3 {

namespace {

using HalvorenEngine::truncToInt;

std::string finalOf(Halvoren::ISymbolMgr& symbols, const std::string& symbol)
{
    std::string initial, final;
    symbols.splitSyllable(symbol, initial, final);
    return final;
}

bool isStandingFinal(Halvoren::ISymbolMgr& symbols, const std::string& symbol, bool& flag)
{
    flag = false;
    return symbols.isFinal(symbol, flag);
}

std::int32_t clampToInt32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

std::string unitNameFor(Halvoren::ISymbolMgr& symbols, const std::string& tag, const std::string& fallback)
{
    const std::string candidate =
        !tag.empty() && symbols.isValidSymbol(tag) && !symbols.isBreath(tag) ? tag : fallback;
    bool flag = false;
    if (isStandingFinal(symbols, candidate, flag) && !flag) {
        std::string normalised = symbols.carrierSyllable(candidate);
        if (!normalised.empty())
            return normalised;
    }
    return candidate;
}

WalkTiming walkTimingOf(float sampleRate, std::int32_t hop, float leadIn)
{
    const auto leadSamples = static_cast<float>(HalvorenEngine::truncToInt64(sampleRate * leadIn));
    return {sampleRate, static_cast<float>(hop), leadSamples};
}

std::int32_t frameOfTime(float seconds, const WalkTiming& timing)
{
    const float quotient = (seconds * timing.sampleRate + timing.leadSamples) / timing.hop;
    return truncToInt(std::fabs(quotient));
}

bool joinsNext(Halvoren::ISymbolMgr& symbols, const HalvorenEngine::SynthScoreV3& score, std::size_t k)
{
    if (k + 1 >= score.notes.size())
        return false;
    const HalvorenEngine::SynthNoteV3& note = score.notes[k];
    const HalvorenEngine::SynthNoteV3& next = score.notes[k + 1];
    return note.breakAfter == 0 && next.start - (note.start + note.duration) <= 0.2f &&
           !symbols.isBreath(note.symbol) && !symbols.isBreath(next.symbol);
}

void trimOverlap(CellRecord& p, CellRecord& cell, std::int32_t CellRecord::*reference)
{
    const std::int64_t onset = std::int64_t{cell.cellStart} - cell.cellOffset;
    if (std::int64_t{p.cellStart} + p.cellLength > onset) {
        const std::int64_t room = onset - p.cellStart;
        const std::int32_t whole = p.*reference;
        if (2 * room < whole) {
            p.cellLength = whole / 2;
            cell.cellOffset = clampToInt32(std::int64_t{cell.cellStart} - whole / 2 - p.cellStart);
        } else {
            p.cellLength = clampToInt32(room);
        }
    }
    cell.cellOffset = std::max(0, cell.cellOffset);
}

CellRecord startCell(Halvoren::ISymbolMgr& symbols, const HalvorenEngine::SynthScoreV3& score, std::size_t k,
                     const WalkTiming& timing)
{
    const HalvorenEngine::SynthNoteV3& note = score.notes[k];
    const HalvorenEngine::SynthNoteV3* next = k + 1 < score.notes.size() ? &score.notes[k + 1] : nullptr;
    CellRecord cell;
    CellUnitNames& n = cell.names;
    std::string ignored;
    if (next != nullptr) {
        symbols.splitSyllable(next->symbol, n.nextInitial, n.nextFinal);
        n.nextSymbol = next->symbol;
    }
    symbols.splitSyllable(note.symbol, n.initial, ignored);
    n.symbol = note.symbol;
    n.unit = unitNameFor(symbols, note.symbolTag, note.symbol);
    n.final = finalOf(symbols, n.unit);
    n.crossUnit = unitNameFor(symbols, note.crossSymbol, n.unit);
    n.crossTimbre = note.crossTimbre;
    n.timbre = note.timbre;
    if (next != nullptr) {
        n.nextUnit = unitNameFor(symbols, next->symbolTag, next->symbol);
        n.nextCrossUnit = unitNameFor(symbols, next->crossSymbol, n.nextUnit);
        n.nextCrossTimbre = next->crossTimbre;
        n.nextTimbre = next->timbre;
    }
    bool flag = false;
    cell.isFinal = isStandingFinal(symbols, note.symbol, flag) ? 1 : 0;
    cell.finalFlag = flag ? 1 : 0;
    cell.elemFlag = note.elemFlag;
    cell.elemTime1 = note.elemTime1;
    cell.elemTime2 = note.elemTime2;
    cell.elemTime3 = note.elemTime3;
    cell.transition = joinsNext(symbols, score, k) ? 1 : 0;
    cell.cellStart = frameOfTime(note.start, timing);
    cell.noteLength = truncToInt(note.duration * timing.sampleRate / timing.hop);
    cell.cellLength = cell.transition != 0 ? clampToInt32(std::int64_t{frameOfTime(next->start, timing)} - cell.cellStart)
                                           : cell.noteLength;
    if (cell.isFinal != 0 && cell.finalFlag == 0) {
        cell.initialClass = 1;
        cell.initialClass2 = 1;
    } else {
        cell.initialClass = symbols.isZeroInitialSyllable(n.initial) ? 1 : 0;
        cell.initialClass2 = cell.initialClass != 0 || symbols.isVoiced(n.initial) ? 1 : 0;
    }
    cell.onsetFactor = std::isnan(note.elemTime0) ? 0.0f : std::clamp(note.elemTime0, 0.0f, 100.0f);
    return cell;
}

void walkNote(Halvoren::ISymbolMgr& symbols, ICellRecords& records, HalvorenEngine::SynthScoreV3& score,
              std::size_t k, const WalkTiming& timing, std::vector<CellRecord>& cells)
{
    CellRecord cell = startCell(symbols, score, k, timing);
    score.notes[k].elemTime0 = cell.onsetFactor;
    const CellUnitNames& n = cell.names;
    const float e0 = cell.onsetFactor;
    const SrcParameter* r = records.voice(n.symbol, n.timbre);
    const float eb = r != nullptr ? static_cast<float>(std::int64_t{r->endPos} - r->beginPos) : 0.0f;
    const bool afterJoin = !cells.empty() && cells.back().transition != 0;
    const bool wholeFinal = cell.isFinal != 0 && cell.finalFlag == 0;
    if (afterJoin) {
        // A joined note sings its recorded onset shortened only when its
        // initial is voiced or absent; an unvoiced one keeps all of it.
        cell.onsetShortened = cell.initialClass2 != 0 ? 1 : 0;
        if (cell.initialClass != 0)
            cell.cellOffset = 0;
        else if (cell.initialClass2 != 0)
            cell.cellOffset = truncToInt(eb * (1.0f - (r != nullptr ? r->ratio1 : 0.0f)) * e0);
        else
            cell.cellOffset = truncToInt(eb * e0);
    } else if (wholeFinal || symbols.isBreath(n.symbol)) {
        cell.cellOffset = 0;
    } else {
        cell.cellOffset = truncToInt(eb * e0);
    }
    cell.cellOffset = std::max(0, cell.cellOffset);
    if (!cells.empty())
        trimOverlap(cells.back(), cell);
    cells.push_back(std::move(cell));
}

int endKind(Halvoren::ISymbolMgr& symbols, ICellRecords& records, const CellRecord& cell, const std::string& final,
            const std::string& nextInitial, const std::string& pitch, bool haveNext, bool haveNextUnit,
            SrcContinuantParameter*& c)
{
    c = nullptr;
    if (cell.transition == 0)
        return 0;
    bool flag = false;
    if (symbols.isFinal(cell.names.nextSymbol, flag))
        return haveNextUnit ? 3 : 0;
    c = records.continuant(final, nextInitial, pitch);
    if (c == nullptr)
        return 0;
    if (symbols.isVoiced(nextInitial) && haveNext && haveNextUnit)
        return 2;
    return 1;
}

PartLengths partLengthsOf(const CellRecord& cell, int L, int secondLen, int steady, int srcLen)
{
    PartLengths out;
    const float e1 = cell.elemTime1, e2 = cell.elemTime2, e3 = cell.elemTime3;
    const float s = secondLen > 0 ? e2 + e1 + e3 : e3 + e2;
    if (cell.elemFlag != 0 && std::isfinite(s) && s != 0.0f) {
        const float r0 = secondLen > 0 ? e1 / s : 0.0f;
        const float r1 = e2 / s;
        const long double length = static_cast<float>(L);
        out.midLen = truncToInt(static_cast<double>(length * r0));
        out.bodyLen = truncToInt(static_cast<double>(length * (r0 + r1) - out.midLen));
        out.midLen = std::clamp(out.midLen, 0, std::max(0, L));
        out.bodyLen = std::clamp(out.bodyLen, 0, std::max(0, L - out.midLen));
        out.endLen = L - out.midLen - out.bodyLen;
    } else if (std::int64_t{L} > std::int64_t{srcLen} + steady + secondLen) {
        out.midLen = secondLen;
        out.endLen = srcLen;
        out.bodyLen = L - srcLen - secondLen;
    } else {
        if (srcLen > 0) {
            const float q = std::min(1.0f, static_cast<float>(L * 0.5 / srcLen));
            out.endLen = std::max(0, truncToInt(static_cast<float>(srcLen) * q));
        }
        const int rest = std::max(0, L - out.endLen);
        out.bodyLen = secondLen > 0 ? rest / 2 : rest;
        out.midLen = rest - out.bodyLen;
    }
    return out;
}

void partLengths(const CellRecord& cell, int L, CellLayout& out)
{
    const PartLengths lengths =
        partLengthsOf(cell, L, out.secondLen, clampToInt32(std::int64_t{out.b} - out.a), out.srcLen);
    out.midLen = lengths.midLen;
    out.bodyLen = lengths.bodyLen;
    out.endLen = lengths.endLen;
}

void placeBreath(std::int32_t cellStart, std::int32_t cellLength, std::int32_t srcLen, std::int32_t& start,
                 std::int32_t& length)
{
    const std::int64_t most = 2 * std::int64_t{srcLen};
    std::int64_t from = cellStart;
    std::int64_t frames = std::max(0, cellLength);
    if (frames > most) {
        from += frames - most;
        frames = most;
    }
    start = clampToInt32(from);
    length = clampToInt32(frames);
}

BreathSpan breathSpan(const CellRecord& cell, const SrcParameter& r)
{
    BreathSpan span;
    span.srcLen = clampToInt32(std::max<std::int64_t>(0, std::int64_t{r.param4} + r.param5 - r.endPos));
    placeBreath(cell.cellStart, cell.cellLength, span.srcLen, span.start, span.length);
    return span;
}

CellLayout layoutCell(Halvoren::ISymbolMgr& symbols, ICellRecords& records, const CellRecord& cell)
{
    CellLayout out;
    const CellUnitNames& n = cell.names;
    out.m1 = records.voice(n.unit, n.timbre);
    out.m2 = records.voice(n.crossUnit, n.crossTimbre);
    const bool wholeFinal = cell.isFinal != 0 && cell.finalFlag == 0;
    if (!wholeFinal)
        out.rL = records.voice(n.symbol, n.timbre);
    out.distinctCross = out.m2 != nullptr && (n.unit != n.crossUnit || n.timbre != n.crossTimbre);
    if (out.rL != nullptr) {
        const SrcParameter& rL = *out.rL;
        const std::int64_t eb = std::int64_t{rL.endPos} - rL.beginPos;
        out.onsetStart = rL.beginPos;
        out.onsetLen = clampToInt32(eb);
        out.secondLen = clampToInt32(std::int64_t{rL.param3} - rL.endPos);
        if (cell.onsetShortened != 0) {
            if (cell.initialClass != 0) {
                out.onsetStart = out.onsetLen = out.secondLen = 0;
            } else {
                out.onsetLen = truncToInt((1.0f - rL.ratio1) * static_cast<float>(eb));
                out.onsetStart = truncToInt(static_cast<float>(eb) * rL.ratio1 + static_cast<float>(rL.beginPos));
            }
        }
        out.onsetLen = std::max(0, out.onsetLen);
        out.secondLen = std::max(0, out.secondLen);
    }
    if (out.m1 != nullptr) {
        out.a = out.m1->param3;
        out.b = out.m1->param4;
        out.mid = clampToInt32((std::int64_t{out.a} + out.b) / 2);
        out.srcLen = std::max(0, out.m1->param5);
        out.srcStart = out.b;
    }
    out.nextInitial = n.nextInitial;
    if (cell.transition != 0) {
        out.m3 = records.voice(n.nextUnit, n.nextTimbre);
        out.m4 = records.voice(n.nextCrossUnit, n.nextCrossTimbre);
        out.nextDistinctCross =
            out.m4 != nullptr && (n.nextUnit != n.nextCrossUnit || n.nextTimbre != n.nextCrossTimbre);
        bool flag = false;
        if (!symbols.isFinal(n.nextSymbol, flag)) {
            out.rN = records.voice(n.nextSymbol, n.nextTimbre);
            out.nextInitial = symbols.substituteConsonant(n.nextInitial);
        }
        out.kind = endKind(symbols, records, cell, n.final, out.nextInitial, n.timbre, out.rN != nullptr,
                           out.m3 != nullptr, out.c);
        if (out.c != nullptr) {
            out.srcLen = std::max(0, out.c->param2);
            out.srcStart = out.c->param1;
        }
    }
    partLengths(cell, std::max(0, cell.cellLength), out);
    return out;
}

}  // namespace HalvorenEngineV3
