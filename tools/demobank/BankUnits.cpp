#include "BankUnits.h"

#include <algorithm>

#include "engine/v3/CellLayout.h"

namespace demobank {

namespace {

struct Carrier {
    std::string name;      // a final, or an onset group
    std::string syllable;  // the syllable that carries it
    bool exact = false;    // an onset spoken as itself, not as a member of its group
};

// Adds name with its carrier, or makes an exact carrier replace an inexact one.
void addCarrier(std::vector<Carrier>& carriers, const Carrier& c)
{
    const auto known = std::find_if(carriers.begin(), carriers.end(), [&](const Carrier& k) { return k.name == c.name; });
    if (known == carriers.end())
        carriers.push_back(c);
    else if (c.exact && !known->exact)
        *known = c;
}

}  // namespace

BankUnits bankUnits(Halvoren::ISymbolMgr& symbols, const std::vector<std::string>& syllables)
{
    BankUnits out;
    std::vector<Carrier> finals, onsets;
    for (const std::string& syllable : syllables) {
        const std::string unit = HalvorenEngineV3::unitNameFor(symbols, "", syllable);
        out.units.push_back({unit, syllable});
        std::string initial, final, ignored;
        symbols.splitSyllable(unit, ignored, final);
        if (!final.empty())
            addCarrier(finals, {final, syllable, true});
        bool standsAlone = false;
        if (symbols.isFinal(syllable, standsAlone))
            continue;  // a join into a bare final needs no continuant
        symbols.splitSyllable(syllable, initial, ignored);
        if (initial.empty())
            continue;
        const std::string group = symbols.substituteConsonant(initial);
        addCarrier(onsets, {group, syllable, group == initial});
    }
    for (const Carrier& f : finals)
        for (const Carrier& o : onsets)
            out.continuants.push_back({f.name + "_" + o.name, f.syllable, o.syllable, !symbols.isVoiced(o.name)});
    return out;
}

}  // namespace demobank
