#pragma once
// One frame of a compact voice model as the sixth-generation cell makers
// read and mix it. A frame "holds data" when its harmonic buffer is not
// empty (an unvoiced frame holds none).
#include <cstdint>

#include "dsp/FrameMags.h"
#include "voicebank/v6/HvVoiceModelCompact.h"

namespace HalvorenEngineV6 {

// The rows of the tilt table a row number may select.
inline constexpr std::int32_t kMaxTiltRow = 269;

// Frames of the model: the length of its pitch track.
int modelFrameCount(const HVVM_V0::HvVoiceModelCompact& model);

struct ModelFrame {
    float refValue = 0.0f;          // the model's f0 at the frame, Hz; 0 where unvoiced
    std::int32_t row = 0;           // tilt row and glottal shape, 0..269
    Halvoren::FrameMags harmonics;  // stored harmonic magnitudes, dB, harmonic k at k - 1
    float gainDb = 0.0f;
    Halvoren::FrameMags noiseBands; // noise band levels, dB
    Halvoren::FrameMags noiseLevels;// noise-bank levels, linear
    float modFloor = 0.0f;          // floor of the glottal modulation
    Halvoren::FrameMags phaseOffsets; // radians per harmonic, harmonic k at k - 1

    bool holdsData() const { return !harmonics.isEmpty(); }

    // Fills every field from the model at frame index: pitch track floats1,
    // row ints1 (clamped to 0..269), harmonics mags3, gain floats2, noise
    // bands mags1, noise levels mags4, floor floats3, phase offsets mags2.
    // A value the model lacks at index is 0, a buffer it lacks empty.
    void loadFrom(const HVVM_V0::HvVoiceModelCompact& model, int index);

    // out = a with weight 1 - w mixed with b with weight w. When both hold
    // data, every buffer over the shorter length, the scalars linearly, the
    // row truncated toward zero within 0..269 and the floor at most 1. When
    // one side holds none, out is a copy of the other with its gain raised by
    // 20 log10 of that side's weight (-120 dB below a weight of 1e-6). out
    // must be neither a nor b.
    static void interpolate(const ModelFrame& a, const ModelFrame& b, float w, ModelFrame& out);
};

}  // namespace HalvorenEngineV6
