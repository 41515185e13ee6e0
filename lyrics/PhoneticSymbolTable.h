#pragma once
// The phonetic symbols of the character dictionary and the perfect hash that
// finds a pinyin symbol ("ma3", "zhuang1") by its text. A symbol's code is its
// slot index in the table; the compiled dictionary file stores these codes,
// so the table's order is part of that file format.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One slot of the symbol table; text is null for an unused slot. Readings in
// the character dictionary point at slots, so a slot's address stands for
// its symbol.
struct SymbolSlot {
    const char* text = nullptr;
};

// An entry of the hash word list: the symbol text ("" when unused) and its
// symbol code (0 when unused).
struct SymbolHashEntry {
    const char* text = "";
    std::uint16_t code = 0;
};

class PhoneticSymbolTable {
public:
    static constexpr int kSize = 8000;
    // Slots 0 to 5011 hold 716 Cantonese syllables with tones 1 to 7; the
    // pinyin symbols follow from here up to slot 7485.
    static constexpr int kFirstPinyinCode = 5012;
    static constexpr int kPinyinCount = 2474;
    static constexpr unsigned kWordListSize = 24240;

    // The one table, built on first use and read-only after that.
    static const PhoneticSymbolTable& instance();

    const SymbolSlot& operator[](int code) const { return slots_[static_cast<size_t>(code)]; }
    // The code of a slot of this table, or -1 for any other slot.
    int codeOf(const SymbolSlot* slot) const;
    // The word list entry at a hash value (below kWordListSize).
    const SymbolHashEntry& wordAt(unsigned hash) const { return words_[hash]; }

private:
    PhoneticSymbolTable();

    std::vector<std::string> texts_;
    std::array<SymbolSlot, kSize> slots_{};
    std::vector<SymbolHashEntry> words_;
};

// The perfect hash of a symbol text of len bytes (bytes taken unsigned).
unsigned hashSymbol(const char* text, unsigned len);

// The word list entry of a pinyin symbol, or null when the text is not one.
// text holds len bytes (and is NUL-terminated there).
const SymbolHashEntry* lookupSymbol(const char* text, unsigned len);
