#pragma once
// The pitches the demo bank is recorded at, and the timbre table through
// which a note's pitch chooses among them.
#include <string>
#include <vector>

#include "SyllableSpeech.h"

namespace demobank {

// One recording pitch: the voice that speaks it and the lowest note sung
// from it.
struct RecordingPitch {
    std::string voiceFile;  // a voice file (VoiceFile); empty for the synthesiser's own voice
    std::string fromNote;   // a pitch name such as "C5"; the lowest pitch takes every note below the next
    // What its records are raised by where a syllable cannot be matched to
    // the pitch below (DemoBank.h).
    float gainDb = 0.0f;
    // About where the voice's level tone lies: the detector's octave errors
    // are found against it (0: against each record's own median f0).
    float levelToneHz = 0.0f;
};

// The bank's timbre table as its pitch-group list: per recording pitch its
// lowest note ("C1" for the first) and twice the median of its voice
// records' notes (semitones from C2), as the built-in list has its triples,
// all joined by "/". A note sings from the last timbre whose lowest note
// lies at or below it, at the timbre's third pitch, so from the records of
// that pitch.
std::string timbreGroupList(const std::vector<RecordingPitch>& pitches, const std::vector<std::vector<int>>& notes);

// The demo bank's pitches. Below C5 the synthesiser's own voice, whose level
// tone lies at about 165 Hz (E3): sung up to 19 semitones above it, every
// syllable keeps its fundamental; from C5 up a close vowel's fundamental
// falls between two of its recorded harmonics, where the own voice, which
// builds each harmonic from the formants alone, leaves 60 dB and more of
// silence. From C5 up the Klatt voice at about 784 Hz (G5), which keeps its
// fundamental there (the own voice spoken that high leaves a close vowel's
// 40 dB under its strongest harmonic): the notes up to G5 lie below it, where
// its records hold their level. Unchanged it sings C5 4.5 dB louder than the
// own voice sings B4 over all; but the two voices' levels differ per
// syllable (by -10 to +16 dB), so each syllable's upper records are matched
// to its lower ones where they meet (DemoBank.h), and lowered by 4.5 dB only
// where there is none to match.
class DemoBankPitches {
public:
    DemoBankPitches();
    const std::vector<RecordingPitch>& pitches() const { return pitches_; }

    static constexpr int kUpperBase = 349;
    static constexpr const char* kUpperFrom = "C5";
    static constexpr float kUpperGainDb = -4.5f;

private:
    VoiceFile upper_;
    std::vector<RecordingPitch> pitches_;
};

}  // namespace demobank
