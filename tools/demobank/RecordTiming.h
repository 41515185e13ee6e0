#pragma once
// The sample rate and frame hop of the bank's records, as the frame
// analysis and the level calibration use them.

namespace demobank {

inline constexpr float kRecordRate = 44100.0f;
inline constexpr int kRecordHop = 128;

}  // namespace demobank
