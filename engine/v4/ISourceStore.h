#pragma once
// The fourth-generation voice bank as the engine and the editor's
// synthesizer core see it: the third generation's slots over this
// generation's records, then the three levels of the frame synthesis.
#include "engine/v3/ISourceStoreSlots.h"
#include "voicebank/v4/SourceStorePackager.h"

namespace HalvorenEngineV4 {

class ISourceStore : public HalvorenEngineV3::ISourceStoreSlots<SourceStorePackager> {
public:
    // Level factor of the harmonic part (0.5 when the bank does not say).
    virtual float getHarmLevel() = 0;
    // Level factor of the noise part (1.2 when the bank does not say).
    virtual float getNoiseLevel() = 0;
    // Rank tilt in dB at tension 0 (-20 when the bank does not say).
    virtual float getTiltAtZero() = 0;
};

}  // namespace HalvorenEngineV4
