#pragma once
// The frame record the cell makers of generations 3 and 4 report for every
// frame they make, and the frame synthesis renders. It points at the maker's
// envelope and peaks, which the synthesis changes in place.
#include <cstdint>

#include "dsp/FrameMags.h"
#include "dsp/PeakList.h"
#include "dsp/StepTable.h"

namespace HalvorenEngine {

struct SynthFrameV4 {
    Halvoren::FrameMags* mags = nullptr;   // residual envelope, dB per bin 0..256
    Halvoren::PeakList* peaks = nullptr;   // harmonic peaks: Hz, dB, phase
    std::uint8_t unvoiced = 0;             // non-zero: noise only
    Halvoren::StepTable* jitter = nullptr; // phase table of the continuation; null for none
    float curveA = 0.0f;                   // the pitch curve (Hz) at the frame's time
    float levelControl = 0.0f;             // Amplitude, -1..1
    float levelDb = 0.0f;                  // extra gain in dB on both parts
    std::int32_t index = 0;                // frame index in the job's output
    std::int32_t localIndex = 0;           // running frame count of the cell
    float boostWeight = 0.0f;              // Power, -1..1
    float noiseGain = 0.0f;                // Breath, -1..1, in units of 20 dB
    float warpRatio = 1.0f;                // gender ratio of the formant warp (1: none)
    float tension = 0.0f;                  // Brightness, -1..1
};

}  // namespace HalvorenEngine
