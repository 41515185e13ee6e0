#pragma once
// The cell building of the first two generations, run on a job's building
// thread: each note gets its synthesis source from its syllable, pitch and
// what follows it, a plan (start, frame count, onset) whose overlap with the
// previous note is resolved, and is divided into cells once the next note
// is planned, when no later plan can change it any more. Each cell is linked
// into the queue with the score's values at its time.
//
// The output bounds the work: no note is planned past the output's last
// frame or with an onset longer than the output, and a run makes at most a
// few cells per output frame in all, whatever the bank's marks or the score.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "dsp/HPR_model.h"
#include "engine/SynthScoreV1.h"
#include "engine/v1/CellPlan.h"
#include "engine/v1/CellQueue.h"

namespace HalvorenEngineV1 {

// A note's synthesis source as the building reads it; model null when the
// bank has no voice for the note.
struct SourceView {
    const Halvoren::HPR_model* model = nullptr;
    SourceMarks marks;
    std::string name;
    std::string pitch;  // the recorded pitch name the source was made at
};

// The source of unit u (final e) before the neighbours b and c, at the
// recorded pitch nearest the note's pitch name.
using SourceFetch = std::function<SourceView(const std::string& u, const std::string& e, const std::string& b,
                                             const std::string& c, const std::string& notePitch)>;

struct CellBuildInput {
    Generation generation = Generation::First;
    const HalvorenEngine::SynthScoreV1* score = nullptr;
    const std::vector<HalvorenEngine::CurvePoint>* power = nullptr;  // second generation
    float sampleRate = 44100.0f;
    int hop = 256;
    // Frames laid out for the output; cells are planned within them.
    int outputFrames = 0;
    SourceFetch fetch;
    DrawFn draw = nullptr;
};

// Cells made in all at most this many per output frame, plus kCellSlack.
constexpr int kCellsPerFrame = 4;
constexpr int kCellSlack = 64;

// Builds every cell of the score into queue and marks it all built; returns
// early, without the mark, once stop is set.
void buildCells(const CellBuildInput& input, CellQueue& queue, const std::atomic<bool>& stop);

}  // namespace HalvorenEngineV1
