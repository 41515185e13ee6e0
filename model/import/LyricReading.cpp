#include "model/import/LyricReading.h"

#include <algorithm>
#include <vector>

#include "lyrics/ILyricDict.h"
#include "model/current/Note.h"

bool singsItsLyric(ILyricDict* dict, const HVCurrentModel::Note& note)
{
    if (note.phoneticSymbol == note.lyric) return true;
    if (!dict) return false;
    std::vector<std::string> words, symbols;
    dict->lookup(note.lyric, words, symbols);
    if (words.size() != 1 || symbols.front() != note.phoneticSymbol) return false;
    // The lookup takes a word at the first place it matches, so that is
    // where the one word stands.
    std::string rest = note.lyric;
    rest.erase(rest.find(words.front()), words.front().size());
    return std::all_of(rest.begin(), rest.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x80 && !(byte >= 'a' && byte <= 'z') && !(byte >= 'A' && byte <= 'Z');
    });
}
