#pragma once
// Renders the frame records of a fourth-generation job: the third
// generation's frame routine with the bank's own harmonic and noise level
// factors and rank tilt at tension 0.
#include "engine/v3/FrameSynth.h"

namespace HalvorenEngineV4 {

class FrameSynth : public HalvorenEngineV3::FrameSynth {
public:
    // The arguments are the store's slots 8, 7, 9 ... 17, 25, 26, 27 in
    // this order.
    FrameSynth(float sampleRate, int hop, float param9, float param10, float param11, float phaseMaxHz,
               int phaseCount, int param14, float boostGainDb, float boostCentreHz, float boostWidthHz,
               float harmLevel, float noiseLevel, float tiltAtZero)
        : HalvorenEngineV3::FrameSynth(sampleRate, hop, param9, param10, param11, phaseMaxHz, phaseCount, param14,
                                       boostGainDb, boostCentreHz, boostWidthHz,
                                       {harmLevel, noiseLevel, tiltAtZero})
    {
    }
};

}  // namespace HalvorenEngineV4
