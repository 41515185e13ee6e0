#pragma once
// The second-generation store over the bank's package (frames of 512
// samples, so hops up to 256). Slots 8 to 16 hand the synthesis the bank's
// tilt, phase and boost settings as stored.
#include <cstdint>
#include <iostream>
#include <string>

#include "engine/v1/HprSourceStore.h"
#include "voicebank/v2/SourceStorePackager.h"

namespace HalvorenEngineV2 {

class SourceStore_pkg : public HalvorenEngineV1::HprSourceStore<SourceStorePackager, 2> {
public:
    static constexpr int kFrameSize = 512;

    explicit SourceStore_pkg(std::string basePath, std::ostream& log = std::cerr)
        : HprSourceStore(std::move(basePath), kFrameSize, log)
    {
    }

    // Tilt T(f) = a0 + a1 (exp(a2 f) - 1): offset a0 and amplitude a1 in dB,
    // rate a2 per Hz.
    float getTiltOffset() const { return header().param3; }
    float getTiltRate() const { return header().param4; }
    float getTiltAmplitude() const { return header().param5; }
    // The phase state's highest frequency (Hz) and size setting.
    float getMaxHarmonicFreq() const { return header().maxHarmonicFreq; }
    std::int32_t getPhaseSetting() const { return header().phaseSetting; }
    // Not read by the synthesis.
    std::int32_t getParam8() const { return header().param8; }
    // Formant boost: gain in dB, centre and width in Hz.
    float getBoostGain() const { return header().powerAmount; }
    float getBoostCentre() const { return header().powerCentre; }
    float getBoostWidth() const { return header().powerWidth; }
};

}  // namespace HalvorenEngineV2
