#pragma once
// The note editor's per-note timing, read back from a segment's synthesizer.
#include <vector>

#include "model/current/Markers.h"
#include "model/current/Segments.h"

class ISynth;

// Asks synth for the timing of the whole segment (lead-in 1 s) and stores
// each sung note's eight values, as float bits, in its elemTimeTable. Notes
// without timing (also those of a plan that has none) keep theirs; a null
// synth changes nothing.
void fillNotesFromSynth(HVCurrentModel::SingSegment* seg, ISynth* synth,
                        const std::vector<HVCurrentModel::Tempo*>& tempos);
