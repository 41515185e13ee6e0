#pragma once
// Recorders of tempo and beat marker changes. Each performs its change into
// the open group; every tempo change ends with the refit of the audio
// segments, every beat change with the shift that keeps the score on its
// measures. Edits are applied in list order.
#include <utility>
#include <vector>

#include "model/current/Markers.h"

class CHistoryGroup;

using TempoEdits = std::vector<std::pair<HVCurrentModel::Tempo*, HVCurrentModel::Tempo>>;
using BeatEdits = std::vector<std::pair<HVCurrentModel::Beat*, HVCurrentModel::Beat>>;

// A marker already at the new marker's position is replaced.
void recInsertTempo(CHistoryGroup* group, HVCurrentModel::Tempo* tempo);
void recInsertTempos(CHistoryGroup* group, const std::vector<HVCurrentModel::Tempo*>& tempos);
// The marker at tick 0 keeps its position; an edited marker landing on
// another one replaces it. Other markers stay at tick 1 or later (a
// position below 0 becomes 1), on insertion too.
void recEditTempo(CHistoryGroup* group, const TempoEdits& edits);
// The same edit without the refit of the audio segments.
void recMoveTempos(CHistoryGroup* group, const TempoEdits& edits);
// The marker at tick 0 and markers not in the list are never deleted.
void recDeleteTempo(CHistoryGroup* group, HVCurrentModel::Tempo* tempo);
void recDeleteTempos(CHistoryGroup* group, const std::vector<HVCurrentModel::Tempo*>& tempos);

void recInsertBeat(CHistoryGroup* group, HVCurrentModel::Beat* beat);
void recInsertBeats(CHistoryGroup* group, const std::vector<HVCurrentModel::Beat*>& beats);
// The marker at measure -3 keeps its position.
void recEditBeat(CHistoryGroup* group, const BeatEdits& edits);
// The marker at measure -3 and markers not in the list are never deleted.
void recDeleteBeat(CHistoryGroup* group, HVCurrentModel::Beat* beat);
void recDeleteBeats(CHistoryGroup* group, const std::vector<HVCurrentModel::Beat*>& beats);
