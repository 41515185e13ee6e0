#pragma once
// The decay of a spoken syllable after its last voiced frame. The analysis
// stops finding harmonics while the voice is still loud, so a record ending
// there would stop a sung phrase at once. The tail continues the last voiced
// frame at the level the recording itself falls to, frame by frame, but
// never faster than a raised cosine over the whole tail: the synthesiser's
// speech ends within a few milliseconds, a sung phrase fades.
#include <cstdint>
#include <vector>

#include "tools/bankwriter/GhrModelWriter.h"

namespace demobank {

// The recording's level at frame i: the RMS of the 256 samples centred on
// sample 128 i, in dB below full scale (-120 dB for silence).
float frameLevelDb(const std::vector<std::int16_t>& recording, std::int32_t frame);

// The frames after `last` until the recording's level has fallen
// kTailRangeDb below that of `last`; at least kShortestTail (35 ms), at most
// kLongestTail frames.
std::int32_t tailLength(const std::vector<std::int16_t>& recording, std::int32_t last);

// count frames: lastFrame with every level lowered by the lesser of two
// falls: the recording's under its level at frame `last` (the lowest so far,
// so the tail never rises) and the raised cosine's, which reaches silence
// one frame after the tail.
std::vector<bankwriter::PlainFrame> tailFrames(const std::vector<std::int16_t>& recording, std::int32_t last,
                                             std::int32_t count, const bankwriter::PlainFrame& lastFrame);

inline constexpr float kTailRangeDb = 60.0f;
inline constexpr std::int32_t kShortestTail = 12;
inline constexpr std::int32_t kLongestTail = 40;

}  // namespace demobank
