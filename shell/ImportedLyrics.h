#pragma once
// After a score import: names the imported notes that sing something other
// than their lyric (a lyric the singer's dictionary does not read as one
// word), with their track, place, lyric and the symbol they sing.
#include <vector>

#include "model/current/Track.h"

class CSSSynthesizerDoc;

// tracks: the imported tracks, in the document's project. One warning box
// when there are such notes.
void reportImportedLyrics(const CSSSynthesizerDoc& doc, const std::vector<HVCurrentModel::Track*>& tracks);
