#pragma once
// How a sixth-generation cell ends: the tail's maker (mode), the continuant
// recording it reads and the model it moves into. The frame making and the
// timing shown to the editor choose alike.
#include <functional>
#include <string>

#include "engine/v6/CellRecord.h"
#include "lyrics/ISymbolMgr.h"

namespace HalvorenEngineV6 {

// The model a tail moves into and the mark it starts at.
enum class TailTarget {
    None,
    NextUnitHeadEnd,       // B at its v6Param3
    NextSyllableHeadEnd,   // A at its v6Param3, else B at its v6Param3
    NextSyllableStart,     // A at its v6Param1
};

struct TailChoice {
    int mode = 0;  // 0 the unit model alone, 1 into a continuant, 2 two models and a continuant, 3 two models
    bool hasContinuant = false;
    std::string first, second;  // the continuant first + "_" + second
    bool keepLength = false;
    TailTarget target = TailTarget::None;
};

// exists(first, second) tells whether the continuant is at the cell's timbre.
TailChoice chooseTail(const CellRecord& cell, Halvoren::ISymbolMgr& symbols,
                      const std::function<bool(const std::string&, const std::string&)>& exists);

}  // namespace HalvorenEngineV6
