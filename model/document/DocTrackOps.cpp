// Track and segment operations and queries of the document.
#include <algorithm>

#include "model/document/SSSynthesizerDoc.h"
#include "model/history/TrackSegmentRecorders.h"
#include "voicebank/SingerMgr.h"

using namespace HVCurrentModel;

namespace {

// New singing tracks go before the first instrumental track.
int singTrackInsertIndex(const std::vector<Track*>& tracks) {
    auto it = std::find_if(tracks.begin(), tracks.end(), [](const Track* t) { return t->kind == kInstrumentTrack; });
    return static_cast<int>(it - tracks.begin());
}

}  // namespace

void CSSSynthesizerDoc::insertTrack(Track* track) {
    if (!track) return;
    const int index = singTrackInsertIndex(model_->tracks);
    runGroup([&](CHistoryGroup* g) { recInsertTrack(g, track, index); });
}

void CSSSynthesizerDoc::insertTracks(const std::vector<Track*>& tracks) {
    if (tracks.empty()) return;
    const int index = singTrackInsertIndex(model_->tracks);
    runGroup([&](CHistoryGroup* g) { recInsertTracks(g, tracks, index); });
}

void CSSSynthesizerDoc::addNewSingTrack(const std::string& name) {
    auto* track = new Track(kSingingTrack);
    track->name = name;
    insertTrack(track);
}

void CSSSynthesizerDoc::appendInstrumentTrack(Track* track) {
    if (!track || track->kind != kInstrumentTrack) return;
    const int index = static_cast<int>(model_->tracks.size());
    runGroup([&](CHistoryGroup* g) { recInsertTrack(g, track, index); });
}

void CSSSynthesizerDoc::deleteTrack(Track* track) {
    auto& tracks = model_->tracks;
    auto it = std::find(tracks.begin(), tracks.end(), track);
    if (it == tracks.end()) return;
    const int index = static_cast<int>(it - tracks.begin());
    runGroup([&](CHistoryGroup* g) { recDeleteTrack(g, track, index); });
}

void CSSSynthesizerDoc::insertSegment(BaseSegment* seg, BaseSegmentContainer* segs) {
    runGroup([&](CHistoryGroup* g) { recInsertSegment(g, segs, seg); });
}

void CSSSynthesizerDoc::insertSegments(const std::vector<BaseSegment*>& list, BaseSegmentContainer* segs) {
    runGroup([&](CHistoryGroup* g) { recInsertSegments(g, list, segs); });
}

void CSSSynthesizerDoc::deleteSegments(const std::vector<BaseSegment*>& list, BaseSegmentContainer* segs) {
    runGroup([&](CHistoryGroup* g) { recDeleteSegments(g, list, segs); });
}

void CSSSynthesizerDoc::editSegmentsPosWidth(const std::vector<SegmentPosWidth>& edits, BaseSegmentContainer* segs) {
    runGroup([&](CHistoryGroup* g) { recEditSegmentsPosWidth(g, edits, segs); });
}

void CSSSynthesizerDoc::unselAllTrks() {
    for (Track* t : model_->tracks) t->selected = false;
}

void CSSSynthesizerDoc::clearTrksCurFlag() {
    for (Track* t : model_->tracks) t->current = false;
}

Track* CSSSynthesizerDoc::getCurTrk(int& index) const {
    for (size_t i = 0; i < model_->tracks.size(); ++i) {
        if (model_->tracks[i]->current) {
            index = static_cast<int>(i);
            return model_->tracks[i];
        }
    }
    return nullptr;
}

Track* CSSSynthesizerDoc::getFirstSelTrk() const {
    for (Track* t : model_->tracks)
        if (t->selected) return t;
    return nullptr;
}

void CSSSynthesizerDoc::unselAllSegs() {
    for (Track* t : model_->tracks)
        if (BaseSegmentContainer* segs = t->getSegments())
            for (BaseSegment* s : *segs) s->selected = false;
}

std::vector<SingSegment*> CSSSynthesizerDoc::collectAllSegments() const {
    std::vector<SingSegment*> out;
    for (Track* t : model_->tracks) {
        if (t->kind != kSingingTrack || !t->singSegs) continue;
        for (size_t i = 0; i < t->singSegs->size(); ++i) out.push_back(t->singSegs->segAt(i));
    }
    return out;
}

void CSSSynthesizerDoc::collectTrksWithOverlappedSegs(std::vector<int>& lastTicks) const {
    for (Track* t : model_->tracks) {
        BaseSegmentContainer* segs = t->getSegments();
        if (!segs) continue;
        std::vector<BaseSegment*> flagged;
        collectOverlappedSegments(*segs, flagged);
        for (BaseSegment* s : flagged) lastTicks.push_back(clampTick(spanEnd(*s) - 1));
    }
}

void CSSSynthesizerDoc::collectSegsWithMissingSinger(std::vector<SingSegment*>& out) const {
    const SingerMgr* singers = getSingerList();
    for (SingSegment* seg : collectAllSegments())
        if (!singers->findSinger(seg->singer)) out.push_back(seg);
}

int CSSSynthesizerDoc::getProjectEndTick() const {
    bool any = false;
    int64_t end = 0;
    for (Track* t : model_->tracks) {
        BaseSegmentContainer* segs = t->getSegments();
        if (!segs) continue;
        // Segments are sorted by position; an overlapping earlier segment can
        // still end later than the last one, so every end is looked at.
        for (BaseSegment* s : *segs) {
            const int64_t last = int64_t{s->pos} + s->width - 1;
            end = any ? std::max(end, last) : last;
            any = true;
        }
    }
    return static_cast<int>(end);
}
