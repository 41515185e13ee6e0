#pragma once
// What the cell makers of a third-generation job share: the shared state
// (frames, stop flag, curves, gender ratios, band axis, analyser) with this
// generation's store, symbol manager and record cache.
#include <string>

#include "engine/v3/CellMakerStateBase.h"
#include "engine/v3/ISourceStore.h"
#include "voicebank/v3/SrcCache.h"

namespace HalvorenEngineV3 {

class CellMakerState : public CellMakerStateOf<ISourceStore, SrcCache> {
public:
    using CellMakerStateOf::CellMakerStateOf;

    // The record of unit at the pitch the index stores for it near pitch;
    // null when absent. The cache keeps it.
    VoiceSrc* lookupVoiceSrc(const std::string& unit, const std::string& pitch);
};

}  // namespace HalvorenEngineV3
