#pragma once
// The output gain of a cell from the score's level v: 2^(2v) from 0 up (1 at
// 0, 4 at 1), v + 1 below (silence at -1). A level below -1 or not a number
// is silent.
#include <cmath>

namespace HalvorenEngineV1 {

inline float cellGain(float level)
{
    if (level >= 0.0f)
        return std::exp2(2.0f * level);
    return level >= -1.0f ? level + 1.0f : 0.0f;
}

// Where a frame of frameSize samples centred on position starts, kept in the
// int range.
inline int frameStart(int position, int frameSize)
{
    const long long start = static_cast<long long>(position) - frameSize / 2;
    return start < -2147483647LL ? -2147483647 : static_cast<int>(start);
}

}  // namespace HalvorenEngineV1
