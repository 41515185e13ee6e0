#pragma once
// The third-generation store: the bank's package read through the
// ISourceStore slots.
#include "engine/v3/ISourceStore.h"
#include "engine/v3/SourceStoreSlots.h"
#include "voicebank/v3/SourceStorePackager.h"

namespace HalvorenEngineV3 {

class SourceStore_pkg : public SourceStoreSlots<SourceStorePackager, ISourceStore> {
public:
    using SourceStoreSlots::SourceStoreSlots;
};

}  // namespace HalvorenEngineV3
