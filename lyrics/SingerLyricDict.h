#pragma once
// A voice bank's own lyric dictionary: words of a lyric mapped to the bank's
// phonetic symbols, read from "*-dict.txt" (word=symbols lines) or
// "*.dict.txt" (a JSON object of word: symbols strings).
#include <json/json.h>

#include <string>
#include <string_view>
#include <vector>

#include "lyrics/ILyricDict.h"
#include "lyrics/LongestWordMatch.h"
#include "platform/CString.h"

class CSingerLyricDict : public ILyricDict {
public:
    CSingerLyricDict();
    ~CSingerLyricDict() override;

    // False when the file cannot be opened (the dictionary is left as it
    // was). Otherwise the dictionary becomes the file's "word=symbols" lines:
    // a line counts only when it has exactly one "=" with text on both sides;
    // "\r" is ignored everywhere, blanks are kept, a later line for the same
    // word wins.
    bool loadTxt(const CString& path);
    // Reads a JSON object of word: symbols strings. False, with an empty
    // dictionary, when the file cannot be read, is not JSON or is not an
    // object; members whose value is not a string are left out.
    bool loadJson(const CString& path);
    // Sets the longest key length (bytes), and the matcher lookup uses, from
    // the current words.
    void updateMaxKeyLen();
    int getMaxKeyLen() const { return maxKeyLen; }

    // Greedy longest match over the UTF-8 bytes of text: each matched word
    // goes to words, its expansion to symbols; unmatched bytes are skipped.
    // The longest word at every position is found in one pass over the
    // text, so the time grows with the text alone, however long the words.
    void lookup(const std::string& text, std::vector<std::string>& words,
                std::vector<std::string>& symbols) override;

    // The symbols of a word. A value of one blank-separated piece comes back
    // unchanged; several pieces give "/" followed by " piece" for each, where
    // a piece that is itself a word is expanded in turn (its own leading "/"
    // dropped). A word met again inside its own expansion is used as it
    // stands, so self-referring entries end. Each nested word is expanded
    // once per call; a word whose expansion would take more than
    // kMaxExpansionLength bytes, or nest deeper than kMaxExpansionDepth
    // words, is used as it stands.
    std::string expandEntry(const std::string& word) const;

    static constexpr size_t kMaxExpansionLength = 4096;
    static constexpr size_t kMaxExpansionDepth = 32;

private:
    struct Expansion;
    const Json::Value* findWord(std::string_view word) const;
    std::string expand(const std::string& word, Expansion& state) const;

    Json::Value dictionary;
    int maxKeyLen = 0;
    LongestWordMatch matcher;  // of every non-empty word with symbols
};
