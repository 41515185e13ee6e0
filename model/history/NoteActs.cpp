#include "model/history/NoteActs.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>

ElementTimesValue ElementTimesValue::of(const Note& n) {
    return {n.timeFactor1, n.timesFlag, n.timeFactor2, n.timeFactor3, n.timeFactor4};
}

void ElementTimesValue::applyTo(Note& n) const {
    n.timeFactor1 = timeFactor1;
    n.timesFlag = timesFlag;
    n.timeFactor2 = timeFactor2;
    n.timeFactor3 = timeFactor3;
    n.timeFactor4 = timeFactor4;
}

void PhoneticValue::writeTo(Note& n, const PhoneticValue& v) {
    n.phoneticSymbol = v.phoneticSymbol;
    n.lyric = v.lyric;
    v.times.applyTo(n);
}

VibratoValue VibratoValue::of(const Note& n) { return {n.vibPercent, n.cycle, n.vibrato}; }

void VibratoValue::writeTo(Note& n, const VibratoValue& v) {
    n.vibPercent = v.vibPercent;
    n.cycle.table = v.cycle.table;
    n.vibrato.assign(v.vibrato);
}

ExpressionValue ExpressionValue::of(const Note& n) { return {n.bendDep, n.bendLen, n.tailChg, n.headChg}; }

void ExpressionValue::writeTo(Note& n, const ExpressionValue& v) {
    n.bendDep = v.bendDep;
    n.bendLen = v.bendLen;
    n.tailChg = v.tailChg;
    n.headChg = v.headChg;
}

void FusionValue::writeTo(Note& n, const FusionValue& v) {
    n.crossSymbol = v.crossSymbol;
    n.crossTimbre = v.crossTimbre;
}

void CEditNotePosWidthKeyAct::apply(const PosWidthKeyValue& v) {
    segment->notes.remove(note);
    note->pos = v.pos;
    note->width = v.width;
    note->key = v.key;
    segment->notes.insertSorted(note);
}

void CEditElementTimesForNoteAct::apply(const ElementTimesEdit& v) {
    v.times.applyTo(*note);
    note->elemTimeTable = v.noteTable;
    if (neighbour) neighbour->elemTimeTable = v.neighbourTable;
}

void CDeleteNoteAct::undo() {
    HVCurrentModel::NoteContainer& notes = segment->notes;
    std::vector<Note*> restored;
    restored.reserve(notes.size() + taken.size());
    // The notes stand as before the delete; should anything have moved them
    // since, order and flags are made good again. Order is checked as the
    // list is built, so each note is visited once.
    bool inOrder = true;
    const auto put = [&](Note* n) {
        if (!restored.empty() && restored.back()->pos > n->pos) inOrder = false;
        restored.push_back(n);
    };
    size_t from = 0;
    for (const Taken& t : taken) {
        while (restored.size() < t.index && from < notes.size()) put(notes[from++]);
        t.note->overlapped = t.overlapped;
        put(t.note);
    }
    while (from < notes.size()) put(notes[from++]);
    notes.assign(restored.begin(), restored.end());
    for (Note* n : cleared) n->overlapped = true;
    if (!inOrder) notes.sortAndMarkOverlaps();
}

void CDeleteNoteAct::redo() {
    // The notes stand where undo put them back, unless something moved them
    // since: then they are looked up.
    HVCurrentModel::NoteContainer& notes = segment->notes;
    std::vector<size_t> indices;
    indices.reserve(taken.size());
    bool flaggedGone = false;
    for (const Taken& t : taken) {
        if (t.index >= notes.size() || notes[t.index] != t.note) break;
        indices.push_back(t.index);
        flaggedGone = flaggedGone || t.overlapped;  // as undo set it
    }
    if (indices.size() == taken.size() && notes.removeAt(indices, flaggedGone, cleared)) return;
    std::unordered_set<const Note*> gone;
    for (const Taken& t : taken) gone.insert(t.note);
    cleared = notes.removeAll(gone);
}

void CDeleteNoteAct::freeIfDone() {
    for (Taken& t : taken) delete t.note;
    taken.clear();
}
