#pragma once
// The plan of a job's output from its score: the number of frames to lay out
// and the start offset, the output sample at which the first note starts.
#include <cmath>

namespace HalvorenEngine {

// What the plan reads of a score (times in seconds). lastStart and
// lastDuration are those of the note that ends latest.
struct ScoreSpan {
    float leadIn = 0.0f;
    bool hasNotes = false;
    float firstStart = 0.0f;
    float lastStart = 0.0f;
    float lastDuration = 0.0f;
};

// The span of notes (records with start and duration) in score order: the
// first note's start, and the note whose start + duration is the latest,
// wherever it stands, so that the plan covers every note. A note whose end
// is NaN is passed over; when every end is, the last note stands.
template <class Notes>
ScoreSpan scoreSpanOfNotes(float leadIn, const Notes& notes)
{
    if (notes.empty())
        return {leadIn};
    const auto* latest = &notes.back();
    float latestEnd = latest->start + latest->duration;
    for (const auto& note : notes) {
        const float end = note.start + note.duration;
        if (end > latestEnd || (std::isnan(latestEnd) && !std::isnan(end))) {
            latest = &note;
            latestEnd = end;
        }
    }
    return {leadIn, true, notes.front().start, latest->start, latest->duration};
}

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
