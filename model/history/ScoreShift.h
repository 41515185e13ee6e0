#pragma once
// Follow-up records that keep the score in place after marker changes.
#include <vector>

#include "model/current/Markers.h"

class CHistoryGroup;

// Tick at which measure 1 begins, counted as four measures from the first
// beat marker (which sits at measure -3); 0 without markers.
int calcBar1Tick(const std::vector<HVCurrentModel::Beat*>& beats);

// Moves every tempo marker but the one at tick 0, and every segment of every
// track, by delta ticks; a tempo marker that would land below tick 1 is
// deleted. The tempo list is sorted afterwards. Nothing when delta is 0.
void recShiftScore(CHistoryGroup* group, int delta);

// Gives every instrumental segment the width its audio lasts under the
// current tempo list. Segments without loaded audio keep their width.
void recRefitAudioSegments(CHistoryGroup* group);
