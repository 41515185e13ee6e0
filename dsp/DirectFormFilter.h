#pragma once
// One direct-form-I recursive filter step and the zero-phase (forward then
// backward) filtering of a block built on it.
namespace Halvoren {

// y = b[0]*x + sum_{k=1..nb-1} b[k]*xHist[nb-1-k] - sum_{k=1..na-1} a[k]*yHist[na-1-k];
// both histories (nb - 1 and na - 1 floats, oldest first) then shift one
// place to the front and take x and y at their ends. a[0] is never read.
// Runs a fixed-size form for 2 to 6 taps when nb equals na.
float directFormStep(float* xHist, const float* b, int nb, float* yHist, const float* a, int na, float x);
// The same step for any tap counts (at least 1 each).
float directFormStepGeneral(float* xHist, const float* b, int nb, float* yHist, const float* a, int na, float x);

// Filters in[0..n) forwards into out, then out backwards in place, the
// filter memory carried over from the forward pass. taps below 1 or n below
// 1 leave out untouched; in and out may be the same block.
void zeroPhaseFilter(int taps, const float* b, const float* a, const float* in, int n, float* out);

}  // namespace Halvoren
