#pragma once
// Recorders of track and segment changes.
#include <vector>

#include "model/current/Segments.h"
#include "model/current/Track.h"

class CHistoryGroup;

// The track leaves the model unselected; the record keeps it alive.
void recDeleteTrack(CHistoryGroup* group, HVCurrentModel::Track* track, int index);
void recInsertTrack(CHistoryGroup* group, HVCurrentModel::Track* track, int index);
// The tracks land in vector order from firstIndex on.
void recInsertTracks(CHistoryGroup* group, const std::vector<HVCurrentModel::Track*>& tracks, int firstIndex);

void recInsertSegment(CHistoryGroup* group, HVCurrentModel::BaseSegmentContainer* segs,
                      HVCurrentModel::BaseSegment* seg);
void recInsertSegments(CHistoryGroup* group, const std::vector<HVCurrentModel::BaseSegment*>& list,
                       HVCurrentModel::BaseSegmentContainer* segs);
// Segments not in the container are skipped.
void recDeleteSegments(CHistoryGroup* group, const std::vector<HVCurrentModel::BaseSegment*>& list,
                       HVCurrentModel::BaseSegmentContainer* segs);
// Appends every segment whose overlap flag is set, in container order; true
// when out is not empty.
bool collectOverlappedSegments(const HVCurrentModel::BaseSegmentContainer& segs,
                               std::vector<HVCurrentModel::BaseSegment*>& out);
// Moves and resizes segments of the container as one change (its
// applyPosWidth); segments not in the container are skipped.
void recEditSegmentsPosWidth(CHistoryGroup* group, const std::vector<HVCurrentModel::SegmentPosWidth>& edits,
                             HVCurrentModel::BaseSegmentContainer* segs);
