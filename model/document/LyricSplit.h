#pragma once
// Typing a lyric list into a note: "/la li lu" splits the note into one note
// per syllable.
#include <string>
#include <vector>

#include "model/current/Segments.h"

class CHistoryGroup;

// The syllables of a text that begins with "/" and lists them separated by
// blanks; out stays empty for any other text.
void splitLyricText(const std::string& text, std::vector<std::string>& out);

// Replaces the note by pieces of equal width, one per text (at least 15 ticks
// each, so a short note takes fewer texts), each carrying its text as lyric
// and phonetic symbol. Only the first piece keeps the bend, only the last the
// vibrato. A note narrower than one piece becomes one note with the first text.
void recReplaceSegNotes(CHistoryGroup* group, HVCurrentModel::Note* note, const std::vector<std::string>& texts,
                        HVCurrentModel::SingSegment* seg);
