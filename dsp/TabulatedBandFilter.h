#pragma once
// Zero-phase band filtering with the tabulated fourth-order designs: a
// high-pass at the lower edge, then a low-pass at the upper edge, each run
// forwards and backwards over the block.
#include <vector>

namespace Halvoren {

// Picks row max(0, roundHalfAway(2*w/0.02 - 1)), at most 47, of the
// low-pass or high-pass tables into a and b (5 values each); returns 5.
// The row is chosen from 2*w, so the realised edge is about twice the
// requested fraction of the Nyquist frequency. A NaN w picks row 0.
int designTabulated(float w, bool highPass, std::vector<float>& a, std::vector<float>& b);

class TabulatedBandFilter {
public:
    // low and high are fractions of the Nyquist frequency (2*f/sampleRate);
    // low is raised to 0 and high lowered to 1. Both inside: high-pass at
    // low, then low-pass at high; otherwise the one design that applies
    // (low = 0 and high = 1 is the low-pass of the last row). n below 1
    // leaves out untouched; in and out may be the same block.
    void filterBand(const float* in, int n, float low, float high, float* out) const;
};

}  // namespace Halvoren
