#include "model/history/TrackSegmentRecorders.h"

#include "model/current/HalvorenModel.h"
#include "model/history/ElementDeleteAct.h"
#include "model/history/ElementInsertAct.h"
#include "model/history/ElementMoveSteps.h"
#include "model/history/HistoryGroup.h"
#include "model/history/SegmentActs.h"
#include "model/history/TrackActs.h"
#include "platform/StringUtil.h"

using namespace HVCurrentModel;

bool collectOverlappedSegments(const BaseSegmentContainer& segs, std::vector<BaseSegment*>& out) {
    return segs.getOverlapped(out);
}

void recDeleteTrack(CHistoryGroup* group, Track* track, int index) {
    if (!track || !containsPtr(group->model->tracks, track)) return;
    track->selected = false;
    auto* rec = new CDeleteTrackAct(track, true, &group->model->tracks, index);
    group->addRec(rec);
    rec->redo();
}

void recInsertTrack(CHistoryGroup* group, Track* track, int index) {
    if (!track || containsPtr(group->model->tracks, track)) return;
    auto* rec = new CInsertTrackAct(track, true, &group->model->tracks, index);
    group->addRec(rec);
    rec->redo();
}

void recInsertTracks(CHistoryGroup* group, const std::vector<Track*>& tracks, int firstIndex) {
    int index = firstIndex;
    for (Track* track : tracks) {
        if (!track || containsPtr(group->model->tracks, track)) continue;
        auto* rec = new CInsertTrackAct(track, true, &group->model->tracks, index++);
        rec->redo();
        group->addRec(rec);
    }
}

void recInsertSegment(CHistoryGroup* group, BaseSegmentContainer* segs, BaseSegment* seg) {
    if (!seg || segs->contains(seg)) return;
    insertSegmentSorted(*segs, seg);
    group->addRec(new CInsertBaseSegmentAct(seg, true, segs));
}

void recInsertSegments(CHistoryGroup* group, const std::vector<BaseSegment*>& list, BaseSegmentContainer* segs) {
    recInsertElements<BaseSegment>(group, list, *segs);
}

void recDeleteSegments(CHistoryGroup* group, const std::vector<BaseSegment*>& list, BaseSegmentContainer* segs) {
    recDeleteElements<BaseSegment>(group, list, *segs);
}

void recEditSegmentsPosWidth(CHistoryGroup* group, const std::vector<SegmentPosWidth>& edits,
                             BaseSegmentContainer* segs) {
    std::vector<CMoveSegmentsAct::Moved> moved;
    for (const auto& [e, index] : lastEditsWithIndex(*segs, edits, [](const SegmentPosWidth& e) { return e.segment; }))
        moved.push_back({e->segment, index, {e->segment->pos, e->segment->width}, {e->pos, e->width}});
    if (moved.empty()) return;
    auto* rec = new CMoveSegmentsAct(segs, std::move(moved));
    group->addRec(rec);
    rec->redo();
}
