#include "model/history/NoteRecorders.h"

#include <unordered_set>
#include <utility>

#include "model/history/HistoryGroup.h"
#include "platform/StringUtil.h"

using namespace HVCurrentModel;

namespace {

void appendAndRedo(CHistoryGroup* group, IHistoryRec* rec) {
    group->addRec(rec);
    rec->redo();
}

}  // namespace

void recInsertNote(CHistoryGroup* group, SingSegment* seg, Note* note) {
    if (!note || containsPtr(seg->notes, note)) return;
    seg->notes.insertSorted(note);
    group->addRec(new CInsertNoteAct(note, true, seg));
}

void recInsertNotes(CHistoryGroup* group, const std::vector<Note*>& notes, SingSegment* seg) {
    for (Note* note : notes) recInsertNote(group, seg, note);
}

void recDeleteNotes(CHistoryGroup* group, const std::vector<Note*>& notes, SingSegment* seg) {
    // All listed notes of the segment (each once) go in one pass, with one
    // record that remembers where each stood. A single note is found by its
    // position.
    if (notes.size() == 1 && notes[0]) {
        Note* note = notes[0];
        const size_t index = seg->notes.indexOf(note);
        if (index == seg->notes.size()) return;
        const bool overlapped = note->overlapped;
        std::vector<Note*> cleared = seg->notes.remove(note);
        note->selected = false;
        group->addRec(new CDeleteNoteAct(seg, {{note, index, overlapped}}, std::move(cleared)));
        return;
    }
    std::unordered_set<const Note*> gone(notes.begin(), notes.end());
    std::vector<CDeleteNoteAct::Taken> taken;
    for (size_t i = 0; i < seg->notes.size(); ++i) {
        Note* n = seg->notes[i];
        if (gone.count(n)) taken.push_back({n, i, n->overlapped});
    }
    if (taken.empty()) return;
    gone.clear();
    for (const CDeleteNoteAct::Taken& t : taken) {
        gone.insert(t.note);
        t.note->selected = false;
    }
    std::vector<Note*> cleared = seg->notes.removeAll(gone);
    group->addRec(new CDeleteNoteAct(seg, std::move(taken), std::move(cleared)));
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
    for (const NotePosWidthKeyEdit& e : edits) {
        if (!e.note || !containsPtr(seg->notes, e.note)) continue;
        const PosWidthKeyValue before = PosWidthKeyValue::of(*e.note);
        appendAndRedo(group, new CEditNotePosWidthKeyAct(seg, e.note, before,
                                                         {e.pos, e.width, before.overlapped, e.key}));
    }
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
