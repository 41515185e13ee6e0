#pragma once
// Frame counts of the fourth generation's two merging makers: the fade of
// the model-to-recording merge and the three phases (merge, hold, tail) of
// the merge into the next unit through a recorded tail.
#include <algorithm>
#include <cmath>

namespace HalvorenEngineV4 {

// Frames over which the merge fades from the model into the recording:
// percentage of n (divided as a float, so 50 gives half), kept in 0..n.
inline int mergeFadeLength(float percentage, int n)
{
    if (n < 1 || !std::isfinite(percentage))
        return 0;
    const float length = (percentage / 100.0f) * static_cast<float>(n);
    return static_cast<int>(std::clamp(length, 0.0f, static_cast<float>(n)));
}

// Weight of the model in merge frame i of a fade over fadeLength frames:
// falls from 1 by 1/fadeLength a frame, then stays 0.
inline float mergeFadeWeight(int i, int fadeLength)
{
    if (i < 0 || i >= fadeLength)
        return 0.0f;
    return static_cast<float>(fadeLength - i) / static_cast<float>(fadeLength);
}

struct TailPhases {
    int merge = 0;
    int hold = 0;
    int tail = 0;
};

// n frames split 45 % merge, 10 % hold, the rest tail. The shares are the
// single-precision 0.45 and 0.1 multiplied in double, so 20 frames give
// 8/2/10 and 100 give 44/10/46.
inline TailPhases tailPhasesFor(int n)
{
    if (n < 1)
        return {};
    TailPhases p;
    p.merge = static_cast<int>(static_cast<double>(n) * static_cast<double>(0.45f));
    p.hold = static_cast<int>(static_cast<double>(n) * static_cast<double>(0.1f));
    p.tail = n - p.merge - p.hold;
    return p;
}

}  // namespace HalvorenEngineV4
