#include "engine/v6/TailChoice.h"

namespace HalvorenEngineV6 {

TailChoice chooseTail(const CellRecord& cell, Halvoren::ISymbolMgr& symbols,
                      const std::function<bool(const std::string&, const std::string&)>& exists)
{
    const CellUnitNames& n = cell.names;
    TailChoice out;
    auto take = [&](const std::string& second) {
        if (!exists(n.final, second))
            return false;
        out.hasContinuant = true;
        out.first = n.final;
        out.second = second;
        return true;
    };
    if (cell.transition == 0) {
        if (take("-"))
            out.mode = 1;
        return out;
    }
    bool standsAlone = false;
    if (symbols.isFinal(n.nextSymbol, standsAlone)) {
        // Into a vowel unit: the two models, through the continuant when there is one.
        out.mode = 3;
        out.target = TailTarget::NextUnitHeadEnd;
        if (take(n.nextInitial)) {
            out.mode = 2;
            out.target = TailTarget::NextSyllableHeadEnd;
        }
        return out;
    }
    if (take(n.nextInitial)) {
        out.mode = 1;
        out.keepLength = cell.hold != 0;
        if (cell.hold == 0 && symbols.isVoiced(n.nextInitial)) {
            out.mode = 2;
            out.target = TailTarget::NextSyllableStart;
        }
    } else if (take("-")) {
        out.mode = 1;
    }
    return out;
}

}  // namespace HalvorenEngineV6
