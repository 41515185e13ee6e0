#pragma once
// The fourth generation's part of a synthesis job (see v3/CellJobBody.h):
// the V4 store and frame synthesis with the bank's levels, and the symbol
// manager of the bank's language text. It also plans the score's note
// timing for the editor, on records of the plan's own.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/v3/CellJobBody.h"
#include "engine/v4/BuildCells.h"
#include "engine/v4/FrameSynth.h"
#include "engine/v4/SourceStore_pkg.h"

namespace HalvorenEngineV4 {

struct JobPartsV4 {
    using Store = SourceStore_pkg;
    using FrameSynth = HalvorenEngineV4::FrameSynth;
    using State = CellMakerState;
    static std::unique_ptr<FrameSynth> makeFrameSynth(Store& store, float rate, int hop);
    static std::unique_ptr<Halvoren::ISymbolMgr> makeSymbols(Store& store);
};

class SynthJobV4 final : public HalvorenEngineV3::CellJobBody<JobPartsV4> {
public:
    explicit SynthJobV4(const std::string& packagePath, CellBuilder builder = &buildCells,
                        std::ostream& log = std::cerr)
        : CellJobBody(packagePath, builder, &JobPartsV4::makeFrameSynth, log)
    {
    }

    // One timing entry per note of score, split by symbols (a manager of the
    // caller's, not the worker's); none for a bank the store refuses.
    std::vector<HalvorenEngine::NoteTimes> prepareCells(Halvoren::ISymbolMgr& symbols,
                                                        HalvorenEngine::SynthScoreV3& score);
};

}  // namespace HalvorenEngineV4
