#include "voicebank/NoteName.h"

#include <cmath>

namespace {
int letterValue(char c) {
    switch (c) {
        case 'C': return 0;
        case 'D': return 2;
        case 'E': return 4;
        case 'F': return 5;
        case 'G': return 7;
        case 'A': return 9;
        case 'B': return 11;
        default: return 0;
    }
}

constexpr int kHighestNamed = 95;  // "B9"
constexpr const char* kNoteParts[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
}  // namespace

int parseNoteName(const std::string& name) {
    auto charAt = [&](size_t i) { return i < name.size() ? name[i] : '\0'; };
    const int letter = letterValue(charAt(0));
    int accidental = 0;
    size_t octaveAt = 1;
    if (charAt(1) == '#') {
        accidental = 1;
        octaveAt = 2;
    } else if (charAt(1) == 'b') {
        accidental = -1;
        octaveAt = 2;
    }
    const char octave = charAt(octaveAt);
    if (octave >= '1' && octave <= '9') return letter + (octave - '0' - 2) * 12 + accidental;
    return accidental - 12;
}

std::string formatNoteName(int semitone) {
    if (semitone > kHighestNamed) return std::string();
    const int v = semitone + 12;
    if (v < 1) return "C1";
    return std::string(kNoteParts[v % 12]) + char('0' + v / 12 + 1);
}

float noteNameToFreq(const std::string& name) {
    const int steps = parseNoteName(name) - parseNoteName("A3");
    return 220.0f * std::exp(float(steps) * 0.6931472f / 12.0f);
}
