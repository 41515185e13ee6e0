#include "render/audio/ClipPlacement.h"

#include <climits>

namespace {
// Seconds times rate as frames, truncated; out-of-range offsets are clamped
// instead of overflowing the conversion.
int framesOf(float seconds, int sampleRate) {
    const float f = seconds * static_cast<float>(sampleRate);
    if (!(f > 0.0f)) return 0;
    if (f >= 2147483520.0f) return INT_MAX - 127;
    return static_cast<int>(f);
}
}  // namespace

ClipPlacement placeClip(float playSec, float segSec, int sampleRate, int frames, int blockFrames) {
    ClipPlacement p;
    if (playSec < segSec)
        p.startDelay = framesOf(segSec - playSec, sampleRate);
    else
        p.readPos = framesOf(playSec - segSec, sampleRate);
    p.length = frames;
    if (blockFrames < static_cast<long long>(p.length) - p.readPos) p.length = p.readPos + blockFrames;
    return p;
}
