#pragma once
// The third generation's part of a synthesis job (see CellJobBody.h): the
// V3 store and frame synthesis, and a pinyin symbol manager for "CHN" banks
// (none otherwise).
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "engine/v3/BuildCells.h"
#include "engine/v3/CellJobBody.h"
#include "engine/v3/FrameSynth.h"
#include "engine/v3/SourceStore_pkg.h"

namespace HalvorenEngineV3 {

struct JobPartsV3 {
    using Store = SourceStore_pkg;
    using FrameSynth = HalvorenEngineV3::FrameSynth;
    using State = CellMakerState;
    static FrameSynth makeFrameSynth(Store& store, float rate, int hop);
    static std::unique_ptr<Halvoren::ISymbolMgr> makeSymbols(Store& store);
};

class SynthJobV3 final : public CellJobBody<JobPartsV3> {
public:
    explicit SynthJobV3(const std::string& packagePath, CellBuilder builder = &buildCells,
                        std::ostream& log = std::cout)
        : CellJobBody(packagePath, builder, log)
    {
    }
};

}  // namespace HalvorenEngineV3
