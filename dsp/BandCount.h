#pragma once
// Band counts of the noise bank and the band layout come from voice-bank
// data; more bands than a 512-point frame could ever tell apart only cost
// memory, so counts are held to 0..4096.
#include <algorithm>

namespace Halvoren {

inline constexpr int kMaxBandCount = 4096;

inline int clampBandCount(int count) { return std::clamp(count, 0, kMaxBandCount); }

}  // namespace Halvoren
