#pragma once
// The third-generation voice bank as the engine, the cell makers and the
// editor's synthesizer core see it.
#include "engine/v3/ISourceStoreSlots.h"
#include "voicebank/v3/SourceStorePackager.h"

namespace HalvorenEngineV3 {

class ISourceStore : public ISourceStoreSlots<SourceStorePackager> {
};

}  // namespace HalvorenEngineV3
