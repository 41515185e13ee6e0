#include "lyrics/ChCharacterDict.h"

#include "lyrics/Utf8CodePoints.h"

ChCharacterDict::ChCharacterDict(const CString& folder, std::ostream& log)
    : folder(folder), log(log), table(kTableSize) {}

const SymbolSlot& ChCharacterDict::fallbackReading(std::uint32_t codePoint) {
    static const SymbolSlot noReading{};
    static const SymbolSlot zeroReading{"0"};
    static const SymbolSlot dashReading{"-"};
    if (codePoint == '0') return zeroReading;
    if (codePoint == '-') return dashReading;
    return noReading;
}

const ChCharEntry* ChCharacterDict::findEntry(std::uint32_t codePoint) const {
    if (codePoint < kTableSize) return &table[codePoint];
    auto it = supplementary.find(codePoint);
    return it == supplementary.end() ? nullptr : &it->second;
}

ChCharEntry& ChCharacterDict::entryFor(std::uint32_t codePoint) {
    return codePoint < kTableSize ? table[codePoint] : supplementary[codePoint];
}

void ChCharacterDict::clear() {
    for (ChCharEntry& entry : table) entry = ChCharEntry();
    supplementary.clear();
}

std::vector<const SymbolSlot*> ChCharacterDict::lookup(const std::string& text) const {
    return lookupText(utf8ToCodePoints(text));
}

std::vector<const SymbolSlot*> ChCharacterDict::lookupText(
    const std::vector<std::uint32_t>& codePoints) const {
    std::vector<const SymbolSlot*> readings;
    readings.reserve(codePoints.size());
    size_t p = 0;
    while (p < codePoints.size()) {
        const std::uint32_t code = codePoints[p];
        const ChCharEntry* entry = findEntry(code);
        const ChPhrase* best = nullptr;
        if (entry && entry->phrases) {
            for (const ChPhrase& phrase : *entry->phrases) {
                const size_t n = phrase.length();
                if (n <= (best ? best->length() : 0) || p + n > codePoints.size()) continue;
                size_t i = 1;
                while (i < n && phrase.chars[i].first == codePoints[p + i]) ++i;
                if (i == n) best = &phrase;
            }
        }
        if (best) {
            for (const auto& pair : best->chars) readings.push_back(pair.second);
            p += best->length();
        } else {
            const SymbolSlot* own = entry ? entry->reading : nullptr;
            readings.push_back(own ? own : &fallbackReading(code));
            ++p;
        }
    }
    return readings;
}
