#pragma once
// The repair of overlapping notes after an import, in one sweep over the
// notes in order of position.
#include <vector>

#include "model/current/Note.h"

namespace HVCurrentModel {

// Repeatedly takes the first note A that overlaps a later note and the first
// later note B that overlaps it. When the shared span is more than 90 % of
// A's width, the note with the smaller key (A when equal) is deleted;
// otherwise A is cut to end where B starts, and deleted when nothing is left
// of it. A cut note goes after the notes of its position. Ends with no two
// notes overlapping; the flags are then all clear. Each note is taken as A
// at most once and each later note is looked at once per A, so the time
// grows as the notes do.
void resolveNoteOverlaps(NoteContainer& notes);

}  // namespace HVCurrentModel
