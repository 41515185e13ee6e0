#pragma once
// The level at which a record's frames come back when sung at another pitch:
// the synthesis reads each harmonic of the sung pitch from the envelope
// through the record's harmonics (straight lines in dB between them, level
// beyond the first and the last), then lowers them by their rank, the
// loudest least. Two recordings of a syllable by different voices, sung at
// neighbouring pitches, compare through it.
#include <cstdint>
#include <vector>

#include "tools/bankwriter/GhrModelWriter.h"

namespace demobank {

// The mean power, in dB, of frames [first, last) sung at `hz`: per frame
// the sum over its harmonics below half the bank's rate, each lowered by
// kRankTiltDb times its rank (0 for the loudest) over their count. Unvoiced
// frames count as silent; -200 when every frame is.
double sungLevelDb(const std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last, double hz);

// Adds to every level of the frames (harmonics, bands and residual) from
// fromDb at the first frame to toDb at the last, in a straight line.
void raiseFrames(std::vector<bankwriter::PlainFrame>& frames, float fromDb, float toDb);

// Raises the harmonics of each voiced frame of [first, last) whose level
// sung at `hz` lies more than belowDb under referenceDb to that floor. The
// noise stays as recorded, so a breathy frame does not become a loud hiss,
// and so do the bands, through which the synthesis bends the frames sung
// before a join towards it.
void holdUp(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last, double hz,
            double referenceDb, double belowDb);

// The synthesis' tilt across the ranks of the harmonics at neutral Brightness.
constexpr double kRankTiltDb = -20.0;

}  // namespace demobank
