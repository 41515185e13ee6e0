#pragma once
// The character dictionary: one reading (a phonetic symbol such as "ma3") per
// Chinese character, plus phrases whose characters read differently together.
// Filled from the dictionary folder: the compiled "zh.dict" when present,
// else the text lists "zh_list" and "zh_listx", from which "zh.dict" is then
// written for the next start.
#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "lyrics/PhoneticSymbolTable.h"
#include "platform/CString.h"
#include "platform/ReadBudget.h"

// A phrase: (code point, reading) per character; the first pair is the
// character under whose entry the phrase is stored.
struct ChPhrase {
    std::vector<std::pair<std::uint32_t, const SymbolSlot*>> chars;
    size_t length() const { return chars.size(); }
};

struct ChCharEntry {
    // 0 until the entry is loaded from a dictionary file.
    std::uint32_t codePoint = 0;
    // A slot of the symbol table; null when the character has no reading.
    const SymbolSlot* reading = nullptr;
    // Phrases beginning with this character, in the order they were read.
    std::unique_ptr<std::vector<ChPhrase>> phrases;
};

class ChCharacterDict {
public:
    static constexpr std::uint32_t kTableSize = 0x10000;

    // Messages about the files go to log, one flushed line each.
    explicit ChCharacterDict(const CString& folder, std::ostream& log = std::cerr);

    // Fills the dictionary from the folder. 0 on success; -1 when a list file
    // cannot be opened, or when a damaged "zh.dict" cannot be rebuilt for
    // want of the lists (the records read before the damage stay loaded). An
    // empty "zh.dict" is compiled again when both lists are there.
    int load();
    // Reads one text list into the dictionary: -1 when it cannot be opened,
    // else 0; bad lines are reported with their line number and skipped.
    int parseEspeakList(const CString& path);
    // Reads a compiled dictionary: 0 at its end; -1 when it holds a symbol
    // code out of range, ends inside a record or holds more records than
    // limits allow for its size (records before stay loaded).
    int loadCompiled(const CString& path, const ReadLimits& limits = ReadLimits());
    // Writes the compiled form through a temporary file that replaces path
    // only when complete: 0, or -1 when it cannot be written.
    int saveCompiled(const CString& path);

    // One reading per character of a UTF-8 text (malformed bytes read as
    // U+FFFD); never null: a character without reading gives a slot with no
    // text, "0" and "-" give themselves.
    std::vector<const SymbolSlot*> lookup(const std::string& text) const;
    // Longest phrase match under each character, else the character's own reading.
    std::vector<const SymbolSlot*> lookupText(const std::vector<std::uint32_t>& codePoints) const;

    // The reading used for a character that has none.
    static const SymbolSlot& fallbackReading(std::uint32_t codePoint);

    // The entry of a code point, or null when it was never filled.
    const ChCharEntry* findEntry(std::uint32_t codePoint) const;

private:
    ChCharEntry& entryFor(std::uint32_t codePoint);
    void clear();
    void parseListLine(const std::string& line, int lineNo);
    void parsePhraseLine(const std::vector<std::uint32_t>& cps, size_t pos,
                         const std::string& line, int lineNo);
    void reportBadFormat(int lineNo, const char* reason, const std::string& line);
    CString appendPath(const char* suffix) const;

    CString folder;
    std::ostream& log;
    std::vector<ChCharEntry> table;
    std::map<std::uint32_t, ChCharEntry> supplementary;
};
