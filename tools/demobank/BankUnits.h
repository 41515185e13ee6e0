#pragma once
// The records a third-generation bank needs to sing every syllable, named as
// the cell loop names them: each syllable's unit (and the syllable itself
// when that differs), and for every unit final and every onset a legato
// join can fetch (after the consonant substitution) the continuant
// "final_onset", spoken as one word of two syllables that carry them.
#include <string>
#include <vector>

#include "lyrics/ISymbolMgr.h"

namespace demobank {

struct UnitRecord {
    std::string unit;
    std::string symbol;  // what is spoken; stored under it too when it differs from unit
};

struct ContinuantRecord {
    std::string key;              // final + "_" + onset
    std::string first;            // the syllables spoken as one word
    std::string second;
    bool unvoicedInitial = false;  // the next onset is sung whole
};

struct BankUnits {
    std::vector<UnitRecord> units;
    std::vector<ContinuantRecord> continuants;
};

// Units in the order of the syllables; continuants by final (in the order
// the syllables first end in it) and onset (likewise). A final is spoken in
// the first syllable that ends in it, an onset in the first syllable that
// begins with the onset itself (else with a member of its group).
BankUnits bankUnits(Halvoren::ISymbolMgr& symbols, const std::vector<std::string>& syllables);

}  // namespace demobank
