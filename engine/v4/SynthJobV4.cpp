#include "engine/v4/SynthJobV4.h"

#include "engine/v4/PrepareCells.h"
#include "engine/v4/SymbolMgrFor.h"

namespace HalvorenEngineV4 {

std::unique_ptr<FrameSynth> JobPartsV4::makeFrameSynth(Store& store, float rate, int hop)
{
    return std::make_unique<FrameSynth>(rate, hop, store.getParam3(), store.getParam4(), store.getParam5(),
                                        store.getMaxHarmonicFreq(), store.getPhaseSetting(), store.getParam8(),
                                        store.getPowerAmount(), store.getPowerCentre(), store.getPowerWidth(),
                                        store.getHarmLevel(), store.getNoiseLevel(), store.getTiltAtZero());
}

std::unique_ptr<Halvoren::ISymbolMgr> JobPartsV4::makeSymbols(Store& store)
{
    return symbolMgrFor(store.getLanguage());
}

std::vector<HalvorenEngine::NoteTimes> SynthJobV4::prepareCells(Halvoren::ISymbolMgr& symbols,
                                                                HalvorenEngine::SynthScoreV3& score)
{
    if (!store().isUsable())
        return {};
    return HalvorenEngineV4::prepareCells(store(), symbols, score);
}

}  // namespace HalvorenEngineV4
