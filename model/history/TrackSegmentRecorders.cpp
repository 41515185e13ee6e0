#include "model/history/TrackSegmentRecorders.h"

#include "model/current/HalvorenModel.h"
#include "model/current/PointerMap.h"
#include "model/history/ElementDeleteAct.h"
#include "model/history/ElementInsertAct.h"
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
    // A segment listed more than once takes its last edit, in that edit's
    // place of the list.
    std::vector<SegmentPosWidth> last;  // those edits, from the end of the list
    PointerMap<BaseSegment, size_t> editOf;  // the segment's edit in last
    editOf.reset(edits.size());
    for (size_t k = edits.size(); k-- > 0;) {
        const SegmentPosWidth& e = edits[k];
        if (!e.segment || editOf.find(e.segment)) continue;
        editOf.set(e.segment, last.size());
        last.push_back(e);
    }
    // The index of each listed segment, found by one walk of the container.
    std::vector<size_t> index(last.size(), segs->size());
    size_t at = 0;
    for (const BaseSegment* s : *segs) {
        if (const size_t* k = editOf.find(s)) index[*k] = at;
        ++at;
    }
    std::vector<CMoveSegmentsAct::Moved> moved;
    moved.reserve(last.size());
    for (size_t k = last.size(); k-- > 0;) {
        const SegmentPosWidth& e = last[k];
        if (index[k] < segs->size())
            moved.push_back({e.segment, index[k], {e.segment->pos, e.segment->width}, {e.pos, e.width}});
    }
    if (moved.empty()) return;
    auto* rec = new CMoveSegmentsAct(segs, std::move(moved));
    group->addRec(rec);
    rec->redo();
}
