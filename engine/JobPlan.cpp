#include "engine/JobPlan.h"

#include <algorithm>
#include <cstdint>

#include "dsp/TruncToInt.h"

namespace HalvorenEngine {

bool planJob(const ScoreSpan& score, int hop, float sampleRate, JobPlan& plan)
{
    if (hop < 1)
        return false;
    const int lead = truncToInt(score.leadIn * sampleRate);
    std::int64_t frames;
    if (!score.hasNotes) {
        frames = lead / hop + 1;
        plan.startOffset = lead;
    } else {
        const float end = (score.lastStart + score.lastDuration) * sampleRate + static_cast<float>(lead);
        frames = std::int64_t(truncToInt(end / static_cast<float>(hop))) + 1;
        plan.startOffset = truncToInt((score.leadIn + score.firstStart) * sampleRate);
    }
    plan.frames = static_cast<int>(std::clamp<std::int64_t>(frames, 0, 2147483647));
    return true;
}

}  // namespace HalvorenEngine
