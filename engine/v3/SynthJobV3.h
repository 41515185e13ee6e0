#pragma once
// The third generation's part of a synthesis job (see CellJobBody.h): the
// V3 store and a frame synthesis of the bank version (the third
// generation's own unless the front names another), and a pinyin symbol
// manager for "CHN" banks (none otherwise).
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
    static std::unique_ptr<Halvoren::ISymbolMgr> makeSymbols(Store& store);
};

using FrameSynthMaker = CellJobBody<JobPartsV3>::SynthMaker;
// The synthesis of type Synth, built from the store's slots 9 to 17.
template <class Synth>
std::unique_ptr<FrameSynth> frameSynthOf(SourceStore_pkg& store, float sampleRate, int hop)
{
    return std::make_unique<Synth>(sampleRate, hop, store.getParam3(), store.getParam4(), store.getParam5(),
                                   store.getMaxHarmonicFreq(), store.getPhaseSetting(), store.getParam8(),
                                   store.getPowerAmount(), store.getPowerCentre(), store.getPowerWidth());
}

class SynthJobV3 final : public CellJobBody<JobPartsV3> {
public:
    explicit SynthJobV3(const std::string& packagePath, CellBuilder builder = &buildCells,
                        FrameSynthMaker makeSynth = &frameSynthOf<FrameSynth>, std::ostream& log = std::cerr)
        : CellJobBody(packagePath, builder, makeSynth, log)
    {
    }
};

}  // namespace HalvorenEngineV3
