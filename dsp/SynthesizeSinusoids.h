#pragma once
// Re-colours a source spectrum bin by bin towards a level curve stretched by
// a formant ratio below 18000 Hz, with random phases.
#include <vector>

#include "dsp/FreqBox.h"

namespace Halvoren {

// The recolouring's work arrays: sized by the first frames, then reused, so
// a frame allocates nothing.
struct RecolourWork {
    std::vector<float> warped;  // the warped curve, per point
    std::vector<float> diffs;   // warped curve minus reference, per point
    std::vector<float> gains;   // per bin
    std::vector<float> phases;  // per bin
    std::vector<int> draws;     // per bin
};

// The curve has `count` points: ascending frequencies (Hz), levels (dB) and
// reference levels (dB) over the same frequencies. Each bin of dest gets the
// magnitude of the same bin of source times the level difference (warped
// curve minus reference) and a random phase (one draw per bin in bin order);
// dest's upper half is the conjugate mirror. dest may be source.
void synthesizeSinusoidsToBuffer(const float* freqs, const float* levels, const float* refLevels, int count,
                                 float ratio, float sampleRate, const FreqBox& source, FreqBox& dest,
                                 RecolourWork& work);

}  // namespace Halvoren
