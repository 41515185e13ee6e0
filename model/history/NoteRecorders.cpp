#include "model/history/NoteRecorders.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "model/current/PointerMap.h"
#include "model/history/ElementDeleteAct.h"
#include "model/history/ElementInsertAct.h"
#include "model/history/HistoryGroup.h"

using namespace HVCurrentModel;

namespace {

void appendAndRedo(CHistoryGroup* group, IHistoryRec* rec) {
    group->addRec(rec);
    rec->redo();
}

}  // namespace

void recInsertNote(CHistoryGroup* group, SingSegment* seg, Note* note) {
    if (!note || seg->notes.contains(note)) return;
    seg->notes.insertSorted(note);
    group->addRec(new CInsertNoteAct(note, true, seg));
}

void recInsertNotes(CHistoryGroup* group, const std::vector<Note*>& notes, SingSegment* seg) {
    recInsertElements(group, notes, seg->notes);
}

void recDeleteNotes(CHistoryGroup* group, const std::vector<Note*>& notes, SingSegment* seg) {
    recDeleteElements(group, notes, seg->notes);
}

void recReplaceNotes(CHistoryGroup* group, Note* note, const std::vector<Note*>& notes, SingSegment* seg) {
    recDeleteNotes(group, {note}, seg);
    recInsertNotes(group, notes, seg);
}

void recEditNotesLyric(CHistoryGroup* group, const std::vector<NoteLyricEdit>& edits) {
    for (const NoteLyricEdit& e : edits) {
        if (!e.note) continue;
        const Note& n = *e.note;
        const PhoneticValue before{n.phoneticSymbol, n.lyric, ElementTimesValue::of(n)};
        const ElementTimesValue times = e.phoneticSymbol == n.phoneticSymbol ? before.times : ElementTimesValue{};
        appendAndRedo(group, new CEditNotePhoneticSymbolAct(e.note, before, {e.phoneticSymbol, e.lyric, times}));
    }
}

void recEditNotesPosWidthKey(CHistoryGroup* group, const std::vector<NotePosWidthKeyEdit>& edits, SingSegment* seg) {
    // A note listed more than once takes its last edit, in that edit's place
    // of the list.
    constexpr size_t kSeen = SIZE_MAX;  // the index of a note already taken
    PointerMap<Note, size_t> index;
    index.reset(seg->notes.size());
    size_t i = 0;
    for (const Note* n : seg->notes) index.set(n, i++);
    std::vector<CMoveNotesAct::Moved> moved;
    for (size_t k = edits.size(); k-- > 0;) {
        const NotePosWidthKeyEdit& e = edits[k];
        const size_t* at = e.note ? index.find(e.note) : nullptr;
        if (!at || *at == kSeen) continue;
        moved.push_back({e.note, *at, PosWidthKeyValue::of(*e.note), {e.pos, e.width, e.key}});
        index.set(e.note, kSeen);
    }
    if (moved.empty()) return;
    std::reverse(moved.begin(), moved.end());
    appendAndRedo(group, new CMoveNotesAct(seg, std::move(moved)));
}

void recEditNoteVibrato(CHistoryGroup* group, Note* note, int percent, const VibratoCycle& cycle,
                        const Vibrato& vibrato) {
    appendAndRedo(group, new CEditVibratoForNoteAct(note, VibratoValue::of(*note), {percent, cycle, vibrato}));
}

void recEditNoteExpression(CHistoryGroup* group, Note* note, int bendDep, int bendLen, int tailChg, int headChg) {
    appendAndRedo(group, new CEditExpressionForNoteAct(note, ExpressionValue::of(*note),
                                                       {bendDep, bendLen, tailChg, headChg}));
}

void recEditNoteElementTimes(CHistoryGroup* group, Note* note, Note* neighbour, const ElementTimesValue& times,
                             const ElemTimeTable& noteTable, const ElemTimeTable& neighbourTable) {
    ElementTimesEdit before{ElementTimesValue::of(*note), note->elemTimeTable, {}};
    if (neighbour) before.neighbourTable = neighbour->elemTimeTable;
    appendAndRedo(group, new CEditElementTimesForNoteAct(note, neighbour, before, {times, noteTable, neighbourTable}));
}

void recEditNoteFusionData(CHistoryGroup* group, Note* note, const std::string& crossSymbol, int crossTimbre) {
    const FusionValue before{note->crossTimbre, note->crossSymbol};
    appendAndRedo(group, new CEditFusionDataForNoteAct(note, before, {crossTimbre, crossSymbol}));
}
