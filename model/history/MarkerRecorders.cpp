#include "model/history/MarkerRecorders.h"

#include <algorithm>

#include "model/current/HalvorenModel.h"
#include "model/history/HistoryGroup.h"
#include "model/history/MarkerActs.h"
#include "model/history/ScoreShift.h"
#include "platform/StringUtil.h"

using namespace HVCurrentModel;

namespace {

constexpr int32_t kFixedTempoPos = 0;
constexpr int32_t kFixedBeatPos = -3;

// The list a marker type lives in, with its records.
template <class M> struct MarkerKind;

template <> struct MarkerKind<Tempo> {
    using InsertAct = CInsertTempoAct;
    using DeleteAct = CDeleteTempoAct;
    using EditAct = CEditTempoAct;
    static constexpr int32_t kFixedPos = kFixedTempoPos;
    static std::vector<Tempo*>& list(HalvorenModel* m) { return m->tempos; }
    static int32_t posInRange(int32_t pos) { return tempoPosInRange(pos); }
};

template <> struct MarkerKind<Beat> {
    using InsertAct = CInsertBeatAct;
    using DeleteAct = CDeleteBeatAct;
    using EditAct = CEditBeatAct;
    static constexpr int32_t kFixedPos = kFixedBeatPos;
    static std::vector<Beat*>& list(HalvorenModel* m) { return m->beats; }
    static int32_t posInRange(int32_t pos) { return pos; }
};

// Takes out another marker standing at the marker's position; the record
// owns it from then on.
template <class M>
void recReplaceMarkerAt(CHistoryGroup* group, const M* marker) {
    auto& list = MarkerKind<M>::list(group->model);
    for (M* other : list) {
        if (other == marker || other->pos != marker->pos) continue;
        eraseMarker(list, other);
        other->selected = false;
        group->addRec(new typename MarkerKind<M>::DeleteAct(other, true, group->model));
        return;
    }
}

template <class M>
void recInsertMarker(CHistoryGroup* group, M* marker) {
    if (!marker || containsPtr(MarkerKind<M>::list(group->model), marker)) return;
    marker->pos = MarkerKind<M>::posInRange(marker->pos);
    recReplaceMarkerAt(group, marker);
    insertMarkerSorted(MarkerKind<M>::list(group->model), marker);
    group->addRec(new typename MarkerKind<M>::InsertAct(marker, true, group->model));
}

// Takes every edited marker out, then gives each its new fields and puts it
// back, replacing a marker found at its new position. The fixed first marker
// keeps its position. No record ever owns a marker that stays in use.
template <class M>
void recEditMarkers(CHistoryGroup* group, const std::vector<std::pair<M*, M>>& edits) {
    auto& list = MarkerKind<M>::list(group->model);
    std::vector<std::pair<M*, M>> present;
    for (const auto& e : edits)
        if (e.first && containsPtr(list, e.first) &&
            std::none_of(present.begin(), present.end(), [&](const auto& p) { return p.first == e.first; }))
            present.push_back(e);
    for (const auto& [marker, fields] : present) {
        eraseMarker(list, marker);
        marker->selected = false;
        group->addRec(new typename MarkerKind<M>::DeleteAct(marker, false, group->model));
    }
    for (const auto& [marker, fields] : present) {
        const M before = *marker;
        M after = fields;
        after.pos = before.pos == MarkerKind<M>::kFixedPos ? before.pos : MarkerKind<M>::posInRange(after.pos);
        *marker = after;
        group->addRec(new typename MarkerKind<M>::EditAct(marker, before, after));
        recReplaceMarkerAt(group, marker);
        insertMarkerSorted(list, marker);
        group->addRec(new typename MarkerKind<M>::InsertAct(marker, false, group->model));
    }
}

template <class M>
void recDeleteMarker(CHistoryGroup* group, M* marker) {
    auto& list = MarkerKind<M>::list(group->model);
    if (!marker || marker->pos == MarkerKind<M>::kFixedPos || !containsPtr(list, marker)) return;
    eraseMarker(list, marker);
    group->addRec(new typename MarkerKind<M>::DeleteAct(marker, true, group->model));
    marker->selected = false;
}

void recShiftSinceBar1(CHistoryGroup* group, int oldBar1) {
    recShiftScore(group, calcBar1Tick(group->model->beats) - oldBar1);
}

}  // namespace

void recInsertTempo(CHistoryGroup* group, Tempo* tempo) {
    recInsertMarker(group, tempo);
    recRefitAudioSegments(group);
}

void recInsertTempos(CHistoryGroup* group, const std::vector<Tempo*>& tempos) {
    for (Tempo* t : tempos) recInsertMarker(group, t);
    recRefitAudioSegments(group);
}

void recEditTempo(CHistoryGroup* group, const TempoEdits& edits) {
    recEditMarkers(group, edits);
    recRefitAudioSegments(group);
}

void recMoveTempos(CHistoryGroup* group, const TempoEdits& edits) { recEditMarkers(group, edits); }

void recDeleteTempo(CHistoryGroup* group, Tempo* tempo) { recDeleteTempos(group, {tempo}); }

void recDeleteTempos(CHistoryGroup* group, const std::vector<Tempo*>& tempos) {
    if (group->model->tempos.empty()) return;
    for (Tempo* t : tempos) recDeleteMarker(group, t);
    recRefitAudioSegments(group);
}

void recInsertBeat(CHistoryGroup* group, Beat* beat) { recInsertBeats(group, {beat}); }

void recInsertBeats(CHistoryGroup* group, const std::vector<Beat*>& beats) {
    const int oldBar1 = calcBar1Tick(group->model->beats);
    for (Beat* b : beats) recInsertMarker(group, b);
    recShiftSinceBar1(group, oldBar1);
}

void recEditBeat(CHistoryGroup* group, const BeatEdits& edits) {
    const int oldBar1 = calcBar1Tick(group->model->beats);
    recEditMarkers(group, edits);
    recShiftSinceBar1(group, oldBar1);
}

void recDeleteBeat(CHistoryGroup* group, Beat* beat) { recDeleteBeats(group, {beat}); }

void recDeleteBeats(CHistoryGroup* group, const std::vector<Beat*>& beats) {
    if (group->model->beats.empty()) return;
    const int oldBar1 = calcBar1Tick(group->model->beats);
    for (Beat* b : beats) recDeleteMarker(group, b);
    recShiftSinceBar1(group, oldBar1);
}
