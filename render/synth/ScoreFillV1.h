#pragma once
// The input of the first two engine generations from a sing segment.
#include <vector>

#include "engine/SynthScoreV1.h"
#include "model/current/Markers.h"
#include "model/current/Segments.h"

// Clears score (and power) and fills them from the notes between fromTick and
// toTick (segment ticks, toTick clamped to the width): one record per note
// whose symbol is pinyin ("nue" and "lue" sung as "nve" and "lve", an empty
// symbol as "la"), a note of any other symbol lengthening the record before
// it; the pitch line rendered and merged, then pitch and amplitude (and power
// when given) sampled over the notes taken. Each note taken gets renderFlag
// true when it has a record of its own, false when it lengthens another.
// False, with score cleared, when no note is taken.
bool fillScoreV1(HVCurrentModel::SingSegment& seg, const std::vector<HVCurrentModel::Tempo*>& tempos, int fromTick,
                 int toTick, float leadIn, HalvorenEngine::SynthScoreV1& score,
                 std::vector<HalvorenEngine::CurvePoint>* power);

// The note records alone, as fillScoreV1 makes them (score cleared, no
// curve sampled, the segment's curves untouched, lead-in 0); returns the
// note of each record, in order.
std::vector<HVCurrentModel::Note*> fillNoteRecordsV1(HVCurrentModel::SingSegment& seg,
                                                     const std::vector<HVCurrentModel::Tempo*>& tempos, int fromTick,
                                                     int toTick, HalvorenEngine::SynthScoreV1& score);
