// Note operations, lyrics, live note entry and note queries of the document.
#include <algorithm>

#include "model/document/LiveNote.h"
#include "model/document/LyricSplit.h"
#include "model/document/NoteOverlapFix.h"
#include "model/document/SSSynthesizerDoc.h"

using namespace HVCurrentModel;

void CSSSynthesizerDoc::insertNote(Note* note, SingSegment* seg) {
    runGroup([&](CHistoryGroup* g) {
        setNoteDefaultVibExp(note);
        recInsertNote(g, seg, note);
    });
}

void CSSSynthesizerDoc::insertNotes(const std::vector<Note*>& notes, SingSegment* seg, bool record) {
    if (!record) {
        seg->notes.insertAll(notes);
        return;
    }
    runGroup([&](CHistoryGroup* g) { recInsertNotes(g, notes, seg); });
}

void CSSSynthesizerDoc::addNotesToSeg(const std::vector<Note*>& notes, SingSegment* seg) {
    for (Note* n : notes) setNoteDefaultVibExp(n);
    seg->notes.insertAll(notes);
}

void CSSSynthesizerDoc::deleteNotes(const std::vector<Note*>& notes, SingSegment* seg) {
    runGroup([&](CHistoryGroup* g) { recDeleteNotes(g, notes, seg); });
}

void CSSSynthesizerDoc::editNotesPosWidthKey(const std::vector<NotePosWidthKeyEdit>& edits, SingSegment* seg) {
    runGroup([&](CHistoryGroup* g) { recEditNotesPosWidthKey(g, edits, seg); });
}

void CSSSynthesizerDoc::editNotesLyric(const std::vector<NoteLyricEdit>& edits) {
    runGroup([&](CHistoryGroup* g) { recEditNotesLyric(g, edits); });
}

void CSSSynthesizerDoc::applyLyricsToNotes(Note* note, const std::string& phoneticSymbol, const std::string& lyric) {
    editNotesLyric({{note, phoneticSymbol, lyric}});
}

void CSSSynthesizerDoc::replaceSegNotes(Note* note, const std::vector<std::string>& texts, SingSegment* seg) {
    runGroup([&](CHistoryGroup* g) { recReplaceSegNotes(g, note, texts, seg); });
}

void CSSSynthesizerDoc::inputLyricsForNotes(Note* first, const std::vector<std::string>& texts, SingSegment* seg) {
    auto it = std::find(seg->notes.begin(), seg->notes.end(), first);
    if (it == seg->notes.end() || texts.empty()) return;
    // Splitting a note inserts its pieces into the segment: the notes that
    // receive the texts are fixed before anything changes.
    const size_t count = std::min(texts.size(), static_cast<size_t>(seg->notes.end() - it));
    const std::vector<Note*> targets(it, it + static_cast<std::ptrdiff_t>(count));
    runGroup([&](CHistoryGroup* g) {
        std::vector<std::string> pieces;
        for (size_t j = 0; j < targets.size(); ++j) {
            splitLyricText(texts[j], pieces);
            if (!pieces.empty())
                recReplaceSegNotes(g, targets[j], pieces, seg);
            else
                recEditNotesLyric(g, {{targets[j], texts[j], texts[j]}});
        }
    });
}

void CSSSynthesizerDoc::editVibratoForNotes(Note* note, int percent, const VibratoCycle& cycle,
                                            const Vibrato& vibrato) {
    runGroup([&](CHistoryGroup* g) { recEditNoteVibrato(g, note, percent, cycle, vibrato); });
}

void CSSSynthesizerDoc::editExpressionForNotes(Note* note, int bendDep, int bendLen, int tailChg, int headChg) {
    runGroup([&](CHistoryGroup* g) { recEditNoteExpression(g, note, bendDep, bendLen, tailChg, headChg); });
}

void CSSSynthesizerDoc::editNoteElementTimes(Note* note, Note* neighbour, const ElementTimesValue& times,
                                             const ElemTimeTable& noteTable, const ElemTimeTable& neighbourTable) {
    runGroup([&](CHistoryGroup* g) {
        recEditNoteElementTimes(g, note, neighbour, times, noteTable, neighbourTable);
    });
}

void CSSSynthesizerDoc::editNoteTimbreIndex(Note* note, int timbreIndex) {
    runGroup([&](CHistoryGroup* g) {
        auto* rec = new CEditTimbreIndexForNoteAct(note, note->timbreIndex, timbreIndex);
        g->addRec(rec);
        rec->redo();
    });
}

void CSSSynthesizerDoc::editNoteFusionData(Note* note, const std::string& crossSymbol, int crossTimbre) {
    runGroup([&](CHistoryGroup* g) { recEditNoteFusionData(g, note, crossSymbol, crossTimbre); });
}

namespace {

// The live note reaches the play cursor, and is never narrower than one tick.
int32_t liveNoteWidth(int playPos, const Note* note, int segPos) {
    const int64_t width = int64_t{playPos} - note->pos - segPos + 1;
    return static_cast<int32_t>(std::max<int64_t>(width, 1));
}

}  // namespace

void CSSSynthesizerDoc::beginRecNote(int key) {
    // A note already being entered stays with the segment that holds it:
    // moving liveSeg under it would insert it into a second container.
    if (!editSeg || liveNote) return;
    liveSeg = editSeg;
    createLiveNote(liveNote, liveSegPos, playPos, liveSeg->pos, key);
    liveSeg->notes.insertSorted(liveNote);
    if (mainFrame_) mainFrame_->setScoreMode();
    refreshAllViews();
}

bool CSSSynthesizerDoc::endLiveEntryIfNoteGone() {
    if (liveNote && liveSeg && findSingTrackOf(liveSeg) && liveSeg->notes.contains(liveNote)) return false;
    liveNote = nullptr;
    liveSeg = nullptr;
    return true;
}

void CSSSynthesizerDoc::growRecNote() {
    if (endLiveEntryIfNoteGone()) return;
    liveSeg->notes.remove(liveNote);
    liveNote->width = liveNoteWidth(playPos, liveNote, liveSegPos);
    liveSeg->notes.insertSorted(liveNote);
    refreshAllViews();
}

void CSSSynthesizerDoc::endRecNote() {
    if (endLiveEntryIfNoteGone()) return;
    Note* note = liveNote;
    liveSeg->notes.remove(note);
    note->width = liveNoteWidth(playPos, note, liveSegPos);
    liveNote = nullptr;
    if (mainFrame_) mainFrame_->setScoreMode();
    insertNote(note, liveSeg);
    liveSeg = nullptr;
}

void CSSSynthesizerDoc::fixNoteOverlaps(SingSegment* seg) {
    // Notes are deleted here without records: a segment of the document whose
    // notes history records may still point at is left alone.
    if (findSingTrackOf(seg) && (history_.undoCount() > 0 || history_.redoCount() > 0)) return;
    resolveNoteOverlaps(seg->notes);
}

void CSSSynthesizerDoc::unselAllNotes() {
    if (!editSeg) return;
    for (Note* n : editSeg->notes) n->selected = false;
}

void CSSSynthesizerDoc::collectSegsWithOverlappedNotes(std::vector<int>& ticks) const {
    for (SingSegment* seg : collectAllSegments()) {
        std::vector<Note*> flagged;
        seg->notes.getOverlapped(flagged);
        for (Note* n : flagged)
            if (spanEnd(*n) - 1 < seg->width) ticks.push_back(clampTick(int64_t{seg->pos} + n->pos));
    }
}

void CSSSynthesizerDoc::collectNotesInOtherTrks(std::vector<SingSegment*>& out) const {
    out.clear();
    if (!editSeg) return;
    for (Track* t : model_->tracks) {
        if (t == editTrk || t->kind != kSingingTrack || !t->singSegs) continue;
        for (size_t i = 0; i < t->singSegs->size(); ++i) {
            SingSegment* seg = t->singSegs->segAt(i);
            if (spansOverlap(*seg, *editSeg)) out.push_back(seg);
        }
    }
}
