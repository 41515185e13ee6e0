#include "model/history/TrackSegmentRecorders.h"

#include <algorithm>

#include "model/current/HalvorenModel.h"
#include "model/history/HistoryGroup.h"
#include "model/history/SegmentActs.h"
#include "model/history/TrackActs.h"

using namespace HVCurrentModel;

namespace {

template <class T>
bool holds(const std::vector<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

bool collectOverlappedSegments(const BaseSegmentContainer& segs, std::vector<BaseSegment*>& out) {
    return segs.getOverlapped(out);
}

void recDeleteTrack(CHistoryGroup* group, Track* track, int index) {
    if (!track || !holds(group->model->tracks, track)) return;
    track->selected = false;
    auto* rec = new CDeleteTrackAct(track, true, &group->model->tracks, index);
    group->addRec(rec);
    rec->redo();
}

void recInsertTrack(CHistoryGroup* group, Track* track, int index) {
    if (!track || holds(group->model->tracks, track)) return;
    auto* rec = new CInsertTrackAct(track, true, &group->model->tracks, index);
    group->addRec(rec);
    rec->redo();
}

void recInsertTracks(CHistoryGroup* group, const std::vector<Track*>& tracks, int firstIndex) {
    int index = firstIndex;
    for (Track* track : tracks) {
        if (!track || holds(group->model->tracks, track)) continue;
        auto* rec = new CInsertTrackAct(track, true, &group->model->tracks, index++);
        rec->redo();
        group->addRec(rec);
    }
}

void recInsertSegment(CHistoryGroup* group, BaseSegmentContainer* segs, BaseSegment* seg) {
    if (!seg || holds<BaseSegment>(*segs, seg)) return;
    insertSegmentSorted(*segs, seg);
    group->addRec(new CInsertBaseSegmentAct(seg, true, segs));
}

void recInsertSegments(CHistoryGroup* group, const std::vector<BaseSegment*>& list, BaseSegmentContainer* segs) {
    for (BaseSegment* seg : list) recInsertSegment(group, segs, seg);
}

void recDeleteSegments(CHistoryGroup* group, const std::vector<BaseSegment*>& list, BaseSegmentContainer* segs) {
    for (BaseSegment* seg : list) {
        if (!seg || !holds<BaseSegment>(*segs, seg)) continue;
        removeSegment(*segs, seg);
        group->addRec(new CDeleteBaseSegmentAct(seg, true, segs));
        seg->selected = false;
    }
}

void recEditSegmentsPosWidth(CHistoryGroup* group, const std::vector<SegmentPosWidth>& edits,
                             BaseSegmentContainer* segs) {
    for (const SegmentPosWidth& e : edits) {
        if (!e.segment || !holds<BaseSegment>(*segs, e.segment)) continue;
        BaseSegment* seg = e.segment;
        auto* rec = new CEditBaseSegmentPosWidthAct(segs, seg, {seg->pos, seg->width, seg->overlapped},
                                                    {e.pos, e.width, seg->overlapped});
        group->addRec(rec);
        rec->redo();
    }
}
