#pragma once
// Pitch names of recorded units ("G3", "C#4", "Bb4") and their semitone
// numbers, C2 = 0 (A3 = 21, C4 = 24), in equal temperament with A3 = 220 Hz.
#include <string>
#include <utility>

// Letter C D E F G A B (upper case; anything else counts 0), an optional "#"
// or "b", then an octave digit. A digit 1..9 gives
// letter + (digit - 2) * 12 + accidental; anything else (a "0", another
// character, the end of the name) gives accidental - 12.
int parseNoteName(const std::string& name);

// Sharps only: 34 gives "A#4". Numbers below -11 give "C1"; numbers above 95
// have no one-digit octave and give "".
std::string formatNoteName(int semitone);

// 220 * exp((parseNoteName(name) - 21) * ln 2 / 12), in float.
float noteNameToFreq(const std::string& name);

struct NoteName {
    explicit NoteName(std::string noteName) : name(std::move(noteName)), semitone(parseNoteName(name)) {}
    std::string name;
    int semitone;
};
