#pragma once
// The records a score asks of a third-generation bank, named as its cell
// loop names them: each note's unit (and its symbol when that differs), and
// for each join into a syllable with an initial the continuant from the
// unit's final into that initial (after the consonant substitution). The
// default symbol "la" is always among the units.
#include <string>
#include <vector>

#include "engine/SynthScoreV3.h"
#include "lyrics/ISymbolMgr.h"

namespace demobank {

struct UnitRecord {
    std::string unit;
    std::string symbol;  // what is spoken; stored under it too when it differs from unit
};

struct ContinuantRecord {
    std::string key;              // final + "_" + initial
    std::string first;            // the syllables spoken as one word
    std::string second;
    bool unvoicedInitial = false;  // the next onset is sung whole
};

struct SongUnits {
    std::vector<UnitRecord> units;
    std::vector<ContinuantRecord> continuants;
};

// Each name once, in the order of first use.
SongUnits songUnits(Halvoren::ISymbolMgr& symbols, const HalvorenEngine::SynthScoreV3& score);

}  // namespace demobank
