#pragma once
// Key indices of the score (91 is C1, 58 is A3; smaller is higher) and pitch
// names ("A3", "D#4", "Bb4").
#include <string>

// "C1" for keys 91 and above; sharps only. Keys below -16 have no one-digit
// octave and give "".
std::string keyIndexToPitchName(int key);
// Letter C..B, an optional "#" (one key lower) or "b" (one key higher), an
// octave digit 1..9. Without an octave digit the result is 91, moved by the
// accidental. Never reads past the end of the name.
int pitchNameToKeyIndex(const std::string& name);
