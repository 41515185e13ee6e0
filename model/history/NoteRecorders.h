#pragma once
// Recorders of note changes within one sing segment.
#include <string>
#include <vector>

#include "model/current/Segments.h"
#include "model/history/NoteActs.h"

class CHistoryGroup;

struct NoteLyricEdit {
    HVCurrentModel::Note* note = nullptr;
    std::string phoneticSymbol;
    std::string lyric;
};

struct NotePosWidthKeyEdit {
    HVCurrentModel::Note* note = nullptr;
    int32_t pos = 0;
    int32_t width = 0;
    int32_t key = 0;
};

void recInsertNote(CHistoryGroup* group, HVCurrentModel::SingSegment* seg, HVCurrentModel::Note* note);
void recInsertNotes(CHistoryGroup* group, const std::vector<HVCurrentModel::Note*>& notes,
                    HVCurrentModel::SingSegment* seg);
// Notes not in the segment are skipped.
void recDeleteNotes(CHistoryGroup* group, const std::vector<HVCurrentModel::Note*>& notes,
                    HVCurrentModel::SingSegment* seg);
// Deletes one note and inserts others in its place.
void recReplaceNotes(CHistoryGroup* group, HVCurrentModel::Note* note,
                     const std::vector<HVCurrentModel::Note*>& notes, HVCurrentModel::SingSegment* seg);
// A changed phonetic symbol resets the element-time factors; a changed
// lyric alone keeps them.
void recEditNotesLyric(CHistoryGroup* group, const std::vector<NoteLyricEdit>& edits);
void recEditNotesPosWidthKey(CHistoryGroup* group, const std::vector<NotePosWidthKeyEdit>& edits,
                             HVCurrentModel::SingSegment* seg);
void recEditNoteVibrato(CHistoryGroup* group, HVCurrentModel::Note* note, int percent,
                        const HVCurrentModel::VibratoCycle& cycle, const HVCurrentModel::Vibrato& vibrato);
void recEditNoteExpression(CHistoryGroup* group, HVCurrentModel::Note* note, int bendDep, int bendLen,
                           int tailChg, int headChg);
void recEditNoteElementTimes(CHistoryGroup* group, HVCurrentModel::Note* note, HVCurrentModel::Note* neighbour,
                             const ElementTimesValue& times, const ElemTimeTable& noteTable,
                             const ElemTimeTable& neighbourTable);
void recEditNoteFusionData(CHistoryGroup* group, HVCurrentModel::Note* note, const std::string& crossSymbol,
                           int crossTimbre);
