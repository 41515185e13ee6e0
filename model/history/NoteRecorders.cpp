#include "model/history/NoteRecorders.h"

#include <utility>

#include "model/history/ElementDeleteAct.h"
#include "model/history/ElementInsertAct.h"
#include "model/history/ElementMoveSteps.h"
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
    std::vector<CMoveNotesAct::Moved> moved;
    for (const auto& [e, index] : lastEditsWithIndex(seg->notes, edits, [](const NotePosWidthKeyEdit& e) { return e.note; }))
        moved.push_back({e->note, index, PosWidthKeyValue::of(*e->note), {e->pos, e->width, e->key}});
    if (moved.empty()) return;
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
