#pragma once
// Turns typed lyrics (Chinese characters, pinyin or a mix) into one pinyin
// syllable per character, and tells valid pinyin syllables apart.
#include <memory>
#include <string>
#include <vector>

#include "lyrics/ChCharacterDict.h"
#include "platform/CString.h"

class CPinyinDict {
public:
    // The syllable list is ready from construction, so typed pinyin is
    // recognised even when no dictionary folder could be loaded.
    CPinyinDict();
    ~CPinyinDict();
    CPinyinDict(const CPinyinDict&) = delete;
    CPinyinDict& operator=(const CPinyinDict&) = delete;

    // Replaces the dictionary by the one in folder (whatever of it loads) and
    // rebuilds the syllable list.
    void load(const CString& folder);

    // One pinyin per character of the UTF-8 text: the reading without its
    // tone digit ("ma3" gives "ma"), "0" and "-" for themselves, "" for a
    // character without reading. The list is reused by the next call.
    const std::vector<std::string>& textToPinyin(const std::string& text);
    // Parallel lists of the characters that have a pinyin and their pinyin.
    void textToCharsAndPinyin(const std::string& text, std::vector<std::string>& pinyinOut,
                              std::vector<std::string>& charsOut);
    // Exact, case-sensitive membership in the valid syllables.
    bool isPinyin(const std::string& s) const;
    // The valid syllables, in the order of the built-in syllable text.
    const std::vector<std::string>& getSyllables() const { return syllables; }

    // Null until the first load.
    const ChCharacterDict* getDictionary() const { return dictionary.get(); }

    // A reading's pinyin: its text without the tone digit.
    static std::string pinyinOf(const SymbolSlot* reading);

private:
    void buildSyllables();
    std::vector<const SymbolSlot*> readingsOf(const std::vector<std::uint32_t>& codePoints) const;

    std::unique_ptr<ChCharacterDict> dictionary;
    std::vector<std::string> results;
    std::vector<std::string> syllables;
};

// The process-wide dictionary.
CPinyinDict& getPinyinDict();
