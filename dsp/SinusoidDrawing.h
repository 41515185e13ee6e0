#pragma once
// Draws sinusoids (level dB, frequency Hz, phase rad) into the half
// spectrum re/im of an N-point FFT through the tabulated window lobe, nine
// bins each, folding at DC and at N/2, then mirrors the spectrum so that the
// inverse transform is real.
namespace Halvoren {

// The smallest FFT size a sinusoid can be drawn into: from it on the near-0
// range (below bin 5) and the near-N/2 range (from bin N/2 - 4) do not
// overlap, and no lobe reaches outside the N values. Smaller sizes draw
// nothing.
inline constexpr int kMinDrawingFftSize = 18;

void addSinusoidsToSpectrum(const float* magDb, const float* freqHz, const float* phase, int count,
                            float* re, float* im, int N, float sampleRate);

}  // namespace Halvoren
