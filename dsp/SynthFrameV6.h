#pragma once
// The record of one sixth-generation synthesis frame, as the cell loop fills
// it and the frame synthesis renders it: the score's curves at the frame's
// time, its harmonics and three magnitude buffers (the frame buffer of the
// phase continuation, the noise band levels and the noise-bank levels), each
// of granularity 512 and capacity 32, and the glottal shape and modulation
// floor of its model frame.
#include <cstdint>

#include "dsp/FrameMags.h"
#include "dsp/PeakList.h"

namespace Halvoren {

struct SynthFrameV6 {
    std::uint8_t unvoiced = 0;     // non-zero: no harmonic part
    float breath = 0.0f;           // Amplitude curve, -1..1: the level control
    float levelDb = 0.0f;          // added to both parts
    std::int32_t index = 0;        // frame index in the job (position index * hop)
    std::int32_t localIndex = 0;   // the running frame counter before it advanced
    float power = 0.0f;            // Power curve, -1..1
    float noiseGain = 0.0f;        // Breath curve, -1..1, in units of 10 dB
    float warpRatio = 1.0f;        // gender ratio of the formant warp (1: none)
    float brightness = 0.0f;       // Brightness curve, -1..1
    PeakList peaks;                // harmonics: Hz, dB, phases
    std::int32_t glottalShape = 0; // tilt row and glottal pulse shape, 0..269
    float refValue = 0.0f;         // the maker's reference pitch, Hz
    FrameMags trackFrame;          // per-harmonic phase offsets (continuation mode B)
    FrameMags noiseBands;          // noise band levels, dB
    FrameMags mags;                // noise-bank levels, linear
    float modFloor = 0.0f;         // floor of the glottal modulation, 0..1 (1: none)
    std::uint8_t trackB = 0;       // non-zero: phases continue with mode B
};

}  // namespace Halvoren
