#pragma once
// The level at which a record's frames come back when sung at another pitch:
// the synthesis reads each harmonic of the sung pitch from the envelope
// through the record's harmonics (straight lines in dB between them, level
// beyond the first and the last), then lowers them by their rank, the
// loudest least, by the tilt of its frame synthesis at neutral Brightness.
// Two recordings of a syllable by different voices, sung at neighbouring
// pitches, compare through it.
#include <cstdint>
#include <vector>

#include "tools/bankwriter/GhrModelWriter.h"

namespace demobank {

// The mean power, in dB, of frames [first, last) sung at `hz`: per frame
// the sum over its harmonics below half the bank's rate, each lowered by
// the synthesis' tilt times its rank (0 for the loudest) over their count.
// Unvoiced frames count as silent; -200 when every frame is.
double sungLevelDb(const std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last, double hz);

// Adds to every level of the frames (harmonics, bands and residual) from
// fromDb at the first frame to toDb at the last, in a straight line.
void raiseFrames(std::vector<bankwriter::PlainFrame>& frames, float fromDb, float toDb);

// Raises the harmonics of each voiced frame of [first, last) whose level
// sung at `hz` lies more than belowDb under referenceDb to that floor: those
// the envelope reads at hz and above, so that a lower note sings the frame's
// lower harmonics as recorded. The noise stays as recorded, so a breathy
// frame does not become a loud hiss.
void holdUp(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last, double hz,
            double referenceDb, double belowDb);

// Raises each band of each frame of [first, last) that has bands to at
// most belowDb under the same band of `reference`: a vowel bent towards
// the frame, whatever its pitch and harmonics, falls by no more than that.
void floorBands(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last,
                const std::vector<float>& reference, float belowDb);

}  // namespace demobank
