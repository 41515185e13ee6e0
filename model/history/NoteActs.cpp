#include "model/history/NoteActs.h"

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
