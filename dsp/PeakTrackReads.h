#pragma once
// Peak tracks stored in a voice-unit record.
#include "dsp/CMemoryStream.h"
#include "dsp/PeakTracks.h"

namespace Halvoren {

// Clears the tracks; an int32 frame count, then per frame a new list: an
// int32 n and, when n > 0, three float arrays (frequencies, levels, phases),
// cut to the shortest of the three.
void readPeakTracks(CMemoryStream& stream, PeakTracks& tracks);

// Clears the tracks; a float step and an int32 frame count, then per frame a
// new list: an int32 n and, when n > 0, one float array of levels; peak i
// gets frequency (i + 1) * step and phase 0, for the levels present (at most n).
void readHarmonicTracks(CMemoryStream& stream, PeakTracks& tracks);

// In both, a per-frame count that cannot be read keeps the previous frame's
// count, and the frame count is never taken beyond one frame per 4 bytes left.

}  // namespace Halvoren
