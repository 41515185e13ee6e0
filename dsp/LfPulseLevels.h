#pragma once
// The continuous spectrum of one period of an LF flow derivative, in dB
// relative to its own maximum over the frequencies asked for.
namespace Halvoren {

struct LfGlottalModel;

// outDb[i] = level of the Fourier integral over one period (0..T0) of the
// model's open and return phases at freqsHz[i]; the largest is 0 dB and
// nothing lies below -120 dB. The closed forms are evaluated in double
// precision from the model's (single-precision) instants and constants.
// The Bezier arc of relaxed shapes is not part of it.
void lfPulseSpectrumDb(const LfGlottalModel& model, const float* freqsHz, int count, float* outDb);

}  // namespace Halvoren
