#pragma once
// The plan of a job's output from its score: the number of frames to lay out
// and the start offset, the output sample at which the first note starts.
namespace HalvorenEngine {

// What the plan reads of a score (times in seconds).
struct ScoreSpan {
    float leadIn = 0.0f;
    bool hasNotes = false;
    float firstStart = 0.0f;
    float lastStart = 0.0f;
    float lastDuration = 0.0f;
};

struct JobPlan {
    int frames = 0;
    int startOffset = 0;
};

// With lead = trunc(leadIn * rate): frames = trunc(((lastStart + lastDuration)
// * rate + lead) / hop) + 1 and startOffset = trunc((leadIn + firstStart) *
// rate). A score without notes gets lead / hop + 1 frames and starts at the
// end of its lead-in. The frame count is never negative. False for a hop
// below 1.
bool planJob(const ScoreSpan& score, int hop, float sampleRate, JobPlan& plan);

}  // namespace HalvorenEngine
