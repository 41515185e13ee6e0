#pragma once
// What the cell makers of a third-generation job share: the shared state
// (frames, stop flag, curves, gender ratios, band axis, analyser) with this
// generation's store, symbol manager and record cache.
#include <memory>
#include <string>

#include "engine/v3/CellMakerStateBase.h"
#include "engine/v3/ISourceStore.h"
#include "lyrics/ISymbolMgr.h"
#include "voicebank/v3/SrcCache.h"

namespace HalvorenEngineV3 {

class CellMakerState : public CellMakerStateBase {
public:
    CellMakerState(ISourceStore& store, std::unique_ptr<Halvoren::ISymbolMgr> symbols);

    ISourceStore& store() { return store_; }
    Halvoren::ISymbolMgr& symbols() { return *symbols_; }
    SrcCache& cache() { return cache_; }

    // Takes the score's curves and start time and the store's gender ratios
    // (thousandths) for the run that follows.
    void prepare(const HalvorenEngine::SynthScoreV3& score);

    // The record of unit at the pitch the index stores for it near pitch;
    // null when absent. The cache keeps it.
    VoiceSrc* lookupVoiceSrc(const std::string& unit, const std::string& pitch);

private:
    SrcCache cache_;
    ISourceStore& store_;
    std::unique_ptr<Halvoren::ISymbolMgr> symbols_;
};

}  // namespace HalvorenEngineV3
