#pragma once
// Where each note of the first two generations lies in the output, in
// frames of the bank's hop, and what follows it.
#include <string>
#include <vector>

#include "engine/SynthScoreV1.h"
#include "engine/v1/CellPlan.h"
#include "lyrics/ChnSymbolMgr.h"

namespace HalvorenEngineV1 {

// The score's lead-in in samples, toward zero.
int leadSamples(float leadIn, float rate);

// S = trunc(|(start * rate + lead) / hop|), the quotient in single precision.
int startFrame(float start, float rate, int lead, int hop);

// n = trunc(duration * rate / hop).
int frameCount(float duration, float rate, int hop);

// o: the head stretched by param7; for a second-generation legato note one
// frame when zero-initial, else that length scaled by ratio1.
int onsetLength(Generation g, const SourceMarks& marks, bool legato, bool zeroInitial);

// When the previous note reaches into this one's onset, the previous note
// ends where the onset begins, or, when that would leave it less than half
// its frames, both give way: the previous keeps half, the onset begins there.
void resolveOverlap(NotePlan& previous, NotePlan& current);

// The neighbours a note's source is joined to: b, the next syllable's
// initial as a consonant group (second generation: a zero-initial next
// syllable whole), and c, the next syllable when the join may carry into it.
struct NextContext {
    std::string b;
    std::string c;
};

// Notes more than 0.4 s apart (single precision) are in different phrases;
// next is null at the last note.
NextContext nextNoteContext(Generation g, Halvoren::ChnSymbolMgr& symbols, const HalvorenEngine::SynthNoteV1& note,
                            const HalvorenEngine::SynthNoteV1* next);


// One note as the plan sees it: its source's marks (null when the bank has
// no voice for it), its times in seconds and its flags.
struct NoteInput {
    const SourceMarks* source = nullptr;
    float start = 0.0f;
    float duration = 0.0f;
    bool legato = false;
    bool zeroInitial = false;
};

struct PlannedNote {
    std::size_t note = 0;  // index into the inputs
    NotePlan plan;
};

// The plans of the notes that have a source, in order, each overlap
// resolved against the previous planned note. A note without a source has
// no plan and no cells.
std::vector<PlannedNote> planNotes(Generation g, const std::vector<NoteInput>& notes, float rate, int hop,
                                   float leadIn);

}  // namespace HalvorenEngineV1
