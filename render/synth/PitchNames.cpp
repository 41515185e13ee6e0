#include "render/synth/PitchNames.h"

#include <algorithm>
#include <cstdint>

#include "voicebank/NoteName.h"

// Key k stands k semitones below C1 + 90, that is semitone 79 - k above C2,
// the origin of the voice banks' pitch names.
namespace {
constexpr int kKeyOfC2 = 79;
}

std::string keyIndexToPitchName(int key)
{
    // Far outside the names either way; keeps the subtraction in range.
    const int semitone = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{kKeyOfC2} - key, -1000, 1000));
    return formatNoteName(semitone);
}

int pitchNameToKeyIndex(const std::string& name) { return kKeyOfC2 - parseNoteName(name); }
