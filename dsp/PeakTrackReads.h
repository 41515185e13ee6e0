#pragma once
// Peak tracks stored in a voice-unit record.
#include "dsp/CMemoryStream.h"
#include "dsp/PeakTracks.h"
#include "platform/ReadBudget.h"

namespace Halvoren {

// Clears the tracks; an int32 frame count, then per frame a new list: an
// int32 n and, when n > 0, three float arrays (frequencies, levels, phases),
// cut to the shortest of the three.
void readPeakTracks(CMemoryStream& stream, PeakTracks& tracks, ReadBudget* budget = nullptr);

// Clears the tracks; a float step and an int32 frame count, then per frame a
// new list: an int32 n and, when n > 0, one float array of levels; peak i
// gets frequency (i + 1) * step and phase 0, for the levels present (at most n).
void readHarmonicTracks(CMemoryStream& stream, PeakTracks& tracks, ReadBudget* budget = nullptr);

// In both, a per-frame count that cannot be read keeps the previous frame's
// count, and the frame count is never taken beyond one frame per 4 bytes left
// (a count beyond them is noted on the stream as a read past its end).
// With a budget, each frame is counted against it with the heap bytes it
// builds (the list, its slot in the tracks, its arrays): an empty frame of 4
// bytes builds about a hundred. The frames stop where the budget is spent,
// keeping those made.

}  // namespace Halvoren
