#pragma once
// Which notes of a segment a synthesizer sings for a range of ticks.
#include <vector>

#include "model/current/Segments.h"

// In the segment's note order: before the first note taken, a note is taken
// when its position is at or after fromTick; after it every note is taken up
// to the first whose last tick lies past toTick, which ends the selection.
// With insideOnly only notes wholly inside the segment's width count; the
// others are passed over.
std::vector<HVCurrentModel::Note*> selectNotes(const HVCurrentModel::SingSegment& seg, int fromTick, int toTick,
                                               bool insideOnly);
