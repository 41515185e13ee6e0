#pragma once
// Draws sinusoids (level dB, frequency Hz, phase rad) into the half
// spectrum re/im of an N-point FFT through the tabulated window lobe, nine
// bins each, folding at DC and at N/2, then mirrors the spectrum so that the
// inverse transform is real.
namespace Halvoren {

void addSinusoidsToSpectrum(const float* magDb, const float* freqHz, const float* phase, int count,
                            float* re, float* im, int N, float sampleRate);

}  // namespace Halvoren
