#pragma once
// Re-colours a source spectrum bin by bin towards a level curve stretched by
// a formant ratio below 18000 Hz, with random phases.
#include "dsp/FreqBox.h"

namespace Halvoren {

// The curve has `count` points: ascending frequencies (Hz), levels (dB) and
// reference levels (dB) over the same frequencies. Each bin of dest gets the
// magnitude of the same bin of source times the level difference (warped
// curve minus reference) and a random phase; dest's upper half is the
// conjugate mirror. dest may be source.
void synthesizeSinusoidsToBuffer(const float* freqs, const float* levels, const float* refLevels, int count,
                                 float ratio, float sampleRate, const FreqBox& source, FreqBox& dest);

}  // namespace Halvoren
