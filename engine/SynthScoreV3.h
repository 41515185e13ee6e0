#pragma once
// The input of the engine generations that know timbres: one record per sung
// note with its timbres, element times and cross data, and seven curves.
// Times are seconds from the segment's start.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/SynthScoreV1.h"

namespace HalvorenEngine {

struct SynthNoteV3 {
    uint8_t breakAfter = 0;  // 1: never join this note to the next one
    float start = 0.0f;
    float duration = 0.0f;   // to the start of the note's last tick
    std::string symbol;      // without its "<...>" tag
    std::string symbolTag;   // the text between "<" and ">"
    std::string timbre;      // pitch name of the note's timbre
    float elemTime0 = 0.0f;
    uint8_t elemFlag = 0;
    float elemTime1 = 0.0f;
    float elemTime2 = 0.0f;
    float elemTime3 = 0.0f;
    std::string crossSymbol;
    std::string crossTimbre;  // pitch name of the note's cross timbre
};

// The curves in their fixed order.
enum ScoreCurve : int {
    kScorePitch = 0,   // Hz
    kScoreAmplitude,   // the next five -1..1
    kScorePower,
    kScoreBreath,
    kScoreGender,
    kScoreBrightness,
    kScoreCross,       // 0..1
    kScoreCurveCount
};

struct SynthScoreV3 {
    float leadIn = 0.0f;
    std::vector<SynthNoteV3> notes;
    std::array<std::vector<CurvePoint>, kScoreCurveCount> curves;

    void clear()
    {
        leadIn = 0.0f;
        notes.clear();
        for (auto& curve : curves)
            curve.clear();
    }
};

// The eight timing values of one note record as a job's planning pass gives
// them; the first is seconds from the segment's start. sung is false when the
// bank has no record for the note, which then sings nothing.
struct NoteTimes {
    std::array<float, 8> values{};
    bool sung = true;
};

}  // namespace HalvorenEngine
