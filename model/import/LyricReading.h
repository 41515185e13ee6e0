#pragma once
// Whether a note an import made sings its own lyric. The imports give a note
// the symbols of the first word the singer's lyric dictionary finds in its
// lyric (a MIDI note keeps the default symbol when it finds none); a lyric of
// several words, or with letters the dictionary does not know, is then sung
// as something else.
#include <string>

class ILyricDict;

namespace HVCurrentModel {
class Note;
}

// True when the note's symbol is its lyric as written, or when dict reads the
// whole lyric as one word whose symbols are the note's symbol, leaving over
// nothing but ASCII bytes other than letters (blanks, digits, punctuation).
// Without a dictionary only the first holds.
bool singsItsLyric(ILyricDict* dict, const HVCurrentModel::Note& note);
