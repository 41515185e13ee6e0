#pragma once
// The record of one sixth-generation synthesis frame: its harmonics and
// three magnitude buffers (the frame buffer, the noise band levels and the
// harmonic magnitudes), each of granularity 512 and capacity 32.
#include <cstdint>

#include "dsp/FrameMags.h"
#include "dsp/PeakList.h"

namespace Halvoren {

struct SynthFrameV6 {
    std::uint8_t unvoiced = 0;
    float breath = 0.0f;
    PeakList peaks;
    FrameMags trackFrame;
    FrameMags noiseBands;
    FrameMags mags;
    std::uint8_t trackB = 0;
};

}  // namespace Halvoren
