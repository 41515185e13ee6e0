#pragma once
// The fourth-generation store: the bank's package read through the
// ISourceStore slots, with the third generation's rules for records and
// for a bank that cannot be rendered.
#include "engine/v3/SourceStoreSlots.h"
#include "engine/v4/ISourceStore.h"
#include "voicebank/v4/SourceStorePackager.h"

namespace HalvorenEngineV4 {

class SourceStore_pkg : public HalvorenEngineV3::SourceStoreSlots<SourceStorePackager, ISourceStore> {
public:
    using SourceStoreSlots::SourceStoreSlots;

    float getHarmLevel() override { return ext3Values()[0]; }
    float getNoiseLevel() override { return ext3Values()[1]; }
    float getTiltAtZero() override { return ext3Values()[2]; }
};

}  // namespace HalvorenEngineV4
