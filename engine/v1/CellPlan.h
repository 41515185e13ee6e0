#pragma once
// The cell plan of the first two engine generations, as plain data: which
// output frame each cell fills, from which fractional frame of the note's
// synthesis source, and whether its harmonics get random phases (a noise
// cell). The cell building turns each planned cell into a cell of the
// queue; everything here is a pure function of the source's frame marks,
// the note plan and, for the second generation's walk, the draws of a
// pseudo-random generator.
#include <cstdint>
#include <vector>

namespace HalvorenEngineV1 {

enum class Generation { First, Second };

// The synthesis source's frame marks and stretch settings.
struct SourceMarks {
    std::int32_t beginPos = 0;  // head: beginPos .. endPos - 1
    std::int32_t endPos = 0;    // transition: endPos .. param3 - 1
    std::int32_t param3 = 0;    // loop region: param3 .. param4 - 1
    std::int32_t param4 = 0;    // tail: param4 .. param4 + param5 - 1
    std::int32_t param5 = 0;
    float param7 = 0.0f;        // onset stretch factor
    std::int32_t param8 = 0;    // frame where the walk starts
    std::int32_t param9 = 0;    // walk length in frames (first generation)
    float param10 = 0.0f;       // stretch limit: most cells per source frame before walking
    float ratio1 = 0.5f;        // second generation: where a legato head starts
    float ratio2 = 0.5f;        // second generation: where a legato zero-initial head sits
};

// One note's place in the output: start frame S, frame count n and onset
// length o (the onset begins o frames before S); legato when the previous
// note's source was joined to this syllable, zero-initial when the syllable
// starts with a vowel (both second generation only).
struct NotePlan {
    int start = 0;
    int count = 0;
    int onset = 0;
    bool legato = false;
    bool zeroInitial = false;
};

struct PlannedCell {
    int number = 0;     // output frame index
    int index = 0;      // place within the note
    float frame = 0.0f; // source frame, fractional
    bool noise = false;
};

// Appends cells numbered base + counter (counter counting up from its
// value), the index being the counter.
struct CellSink {
    int base = 0;
    int counter = 0;
    std::vector<PlannedCell>* out = nullptr;
    void add(float frame, bool noise)
    {
        out->push_back(PlannedCell{base + counter, counter, frame, noise});
        ++counter;
    }
};

// Draws of the walk's pseudo-random generator (0..32767).
using DrawFn = int (*)();

// m cells from source frame a over span frames, at an even step accumulated
// in single precision; none when m <= 0.
void makeCellRun(float a, float span, int m, bool noise, CellSink& sink);

// cLoop cells over the loop region a .. a + span - 1: an even noise run
// when the limit allows that many cells per frame, else a back-and-forth
// walk around marks.param8 (first generation: legs of param9 * limit cells,
// alternating; second: legs of 2 * limit cells, every cell noise, each leg
// after the first going forward or back by the parity of a draw).
void makeLoopedRun(Generation g, const SourceMarks& marks, int a, int span, int cLoop, float limit, CellSink& sink,
                   DrawFn draw);

struct RunCounts {
    int head = 0;
    int transition = 0;
    int loop = 0;
    int tail = 0;
};

// How many cells the head, transition, loop and tail runs of a note of n
// frames get, with an onset of o frames (at least one head cell) and the
// source's transition, loop and tail lengths; no run more than n + o (or 1).
RunCounts runCounts(int n, int o, int transition, int loop, int tail);

// Every cell of one note, numbered from S - o on.
void emitNoteCells(Generation g, const SourceMarks& marks, const NotePlan& note, std::vector<PlannedCell>& out,
                   DrawFn draw);

}  // namespace HalvorenEngineV1
