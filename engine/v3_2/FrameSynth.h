#pragma once
// Renders the frame records of a "3.5" job: the shared frame routine with
// one level for both parts (half the level factor), the rank tilt of -20 dB
// at tension 0, and every frame's peaks shaped before its noise and drawn
// even when the frame is marked unvoiced.
#include "engine/v3/FrameSynth.h"

namespace HalvorenEngineV3_2 {

class FrameSynth : public HalvorenEngineV3::FrameSynth {
public:
    // The arguments are the store's slots 8, 7, 9 ... 17 in this order.
    FrameSynth(float sampleRate, int hop, float param3, float param4, float param5, float maxHarmonicFreq,
               int phaseSetting, int param8, float powerAmount, float powerCentre, float powerWidth)
        : HalvorenEngineV3::FrameSynth(sampleRate, hop, param3, param4, param5, maxHarmonicFreq, phaseSetting,
                                       param8, powerAmount, powerCentre, powerWidth, {0.5f, 0.5f, -20.0f},
                                       HalvorenEngineV3::PeakOrder::PeaksFirstAlways)
    {
    }
};

}  // namespace HalvorenEngineV3_2
