#pragma once
// The input of the first two engine generations: one record per sung note
// and the sampled curves. Times are seconds from the segment's start.
#include <string>
#include <vector>

namespace HalvorenEngine {

struct CurvePoint {
    float seconds = 0.0f;
    float value = 0.0f;
};

struct SynthNoteV1 {
    float start = 0.0f;     // from the segment's start to the note's start
    float duration = 0.0f;  // from the note's start to the start of its last tick
    std::string symbol;     // the syllable to sing
    std::string pitch;      // a pitch name; these engines take the pitch from the curve
};

struct SynthScoreV1 {
    float leadIn = 0.0f;
    std::vector<SynthNoteV1> notes;
    std::vector<CurvePoint> pitch;      // Hz
    std::vector<CurvePoint> amplitude;  // -1..1

    void clear()
    {
        leadIn = 0.0f;
        notes.clear();
        pitch.clear();
        amplitude.clear();
    }
};

struct SynthScoreV2 : SynthScoreV1 {
    std::vector<CurvePoint> power;  // -1..1

    void clear()
    {
        SynthScoreV1::clear();
        power.clear();
    }
};

}  // namespace HalvorenEngine
