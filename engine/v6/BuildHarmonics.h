#pragma once
// The harmonics of a frame sung at f0 from a model frame's stored harmonic
// magnitudes: up to two semitones above the model's reference pitch the
// stored harmonics keep their numbers (the timbre moves with the pitch);
// beyond, the stored magnitudes stay where they lie two semitones up and are
// read at the new harmonics. Both add the frame's gain and the level of its
// tilt row at each harmonic.
#include <cstdint>
#include <vector>

#include "dsp/FrameMags.h"
#include "dsp/PeakList.h"

namespace HalvorenEngineV6 {

// The grid the tilt rows were made on: fillFrequencyGrid(400, 44100), 0 Hz
// to 21939.75 Hz. Rows are read on it whatever grid count a bank states.
const std::vector<float>& tiltRowGrid();

// out = harmonics k = 1 .. n of f0 (phase 0), n = trunc(sampleRate / 2 / f0)
// and at most the stored count; magnitude stored[k - 1] while f0 is at most
// ref * 2^(1/6) (or ref is not positive), else the stored magnitudes placed
// at multiples of ref * 2^(1/6) read linearly at k * f0; plus gainDb plus
// the tilt row at k * f0. An empty stored buffer, or an f0 below the lowest
// sung fundamental (HarmonicPeakAnalyser::kMinF0) or not finite, gives an
// empty list.
void buildHarmonicsFromModel(const Halvoren::FrameMags& stored, float f0, std::int32_t row, float gainDb, float ref,
                             float sampleRate, Halvoren::PeakList& out);

}  // namespace HalvorenEngineV6
