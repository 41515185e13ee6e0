#pragma once
// The opening of an exported file. A score whose first note starts on the
// export start is cut there, and the file would open on a step (a click);
// such a file fades in instead. Nothing after the fade changes.
#include <cstdint>
#include <vector>

// The fade's length: 5 ms at 44100 Hz.
inline constexpr int kOpeningFadeFrames = 220;

// When the first frame of the interleaved stereo samples is not silent, the
// first kOpeningFadeFrames frames (as many as there are) are scaled by a
// raised cosine, 0.5 - 0.5 cos(pi i / kOpeningFadeFrames) for frame i,
// rounded to the nearest sample; otherwise nothing changes.
void fadeInOpening(std::vector<int16_t>& stereo);
