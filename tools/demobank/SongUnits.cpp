#include "SongUnits.h"

#include <algorithm>

#include "engine/v3/CellLayout.h"

namespace demobank {

namespace {

constexpr const char* kDefaultSymbol = "la";

void addUnit(SongUnits& out, const std::string& unit, const std::string& symbol)
{
    const bool known = std::any_of(out.units.begin(), out.units.end(),
                                   [&](const UnitRecord& u) { return u.unit == unit && u.symbol == symbol; });
    if (!known)
        out.units.push_back({unit, symbol});
}

}  // namespace

SongUnits songUnits(Halvoren::ISymbolMgr& symbols, const HalvorenEngine::SynthScoreV3& score)
{
    SongUnits out;
    for (std::size_t k = 0; k < score.notes.size(); ++k) {
        const HalvorenEngine::SynthNoteV3& note = score.notes[k];
        if (symbols.isBreath(note.symbol))
            continue;
        const std::string unit = HalvorenEngineV3::unitNameFor(symbols, note.symbolTag, note.symbol);
        addUnit(out, unit, note.symbol);
        if (!HalvorenEngineV3::joinsNext(symbols, score, k))
            continue;
        const std::string& next = score.notes[k + 1].symbol;
        bool standsAlone = false;
        if (symbols.isFinal(next, standsAlone))
            continue;  // a bare final: the next unit itself carries the join
        std::string initial, final, ignored;
        symbols.splitSyllable(unit, ignored, final);
        symbols.splitSyllable(next, initial, ignored);
        initial = symbols.substituteConsonant(initial);
        const std::string key = final + "_" + initial;
        const bool known = std::any_of(out.continuants.begin(), out.continuants.end(),
                                       [&](const ContinuantRecord& c) { return c.key == key; });
        if (!known)
            out.continuants.push_back({key, note.symbol, next, !symbols.isVoiced(initial)});
    }
    addUnit(out, HalvorenEngineV3::unitNameFor(symbols, "", kDefaultSymbol), kDefaultSymbol);
    return out;
}

}  // namespace demobank
