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

// The level, in dB, of `vowel` sung at `hz` after its harmonics are bent by
// the change of the bands from vowel's to frame's, as the cell makers bend a
// vowel towards a join or an initial (the change read in straight lines
// between the band centres); -200 when either frame has no bands or the
// vowel no harmonics.
double bentLevelDb(const bankwriter::PlainFrame& vowel, const bankwriter::PlainFrame& frame, double hz);

// Adds to every level of the frames (harmonics, bands and residual) from
// fromDb at the first frame to toDb at the last, in a straight line.
void raiseFrames(std::vector<bankwriter::PlainFrame>& frames, float fromDb, float toDb);

// Raises the harmonics of each voiced frame of [first, last) whose level
// sung at `hz` lies more than belowDb under referenceDb to that floor: those
// the envelope reads at hz and above, so that the frame sung lower stays as
// loud as recorded where it is loud. The noise stays as recorded, so a
// breathy frame does not become a loud hiss.
void holdUp(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last, double hz,
            double referenceDb, double belowDb);

// Raises the bands of each frame of [first, last) that has bands, all by
// one step, where `vowel` bent by them (bentLevelDb) would come back more
// than belowDb under its own level at `hz`: what the synthesis sings of a
// vowel bent towards that frame stays up as the frame's own harmonics do
// (the bands the vowel's harmonics at hz and above read, as holdUp).
void holdBandsUp(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last,
                 const bankwriter::PlainFrame& vowel, double hz, double belowDb);

// Raises each band of each frame of [first, last) that has bands to at
// most belowDb under the same band of `reference`: a vowel bent towards
// the frame, whatever its pitch and harmonics, falls by no more than that.
void floorBands(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last,
                const std::vector<float>& reference, float belowDb);

}  // namespace demobank
