#include "tools/unihan/UnihanReadings.h"

#include <algorithm>
#include <array>
#include <set>
#include <sstream>
#include <vector>

#include "lyrics/PhoneticSymbolTable.h"
#include "lyrics/PinyinDict.h"
#include "lyrics/Utf8CodePoints.h"

namespace {

struct MarkedLetter {
    std::uint32_t codePoint;
    char base;
    int tone;  // 0: no tone mark
};

constexpr MarkedLetter kMarkedLetters[] = {
    {0x0101, 'a', 1}, {0x00E1, 'a', 2}, {0x01CE, 'a', 3}, {0x00E0, 'a', 4},
    {0x0113, 'e', 1}, {0x00E9, 'e', 2}, {0x011B, 'e', 3}, {0x00E8, 'e', 4},
    {0x012B, 'i', 1}, {0x00ED, 'i', 2}, {0x01D0, 'i', 3}, {0x00EC, 'i', 4},
    {0x014D, 'o', 1}, {0x00F3, 'o', 2}, {0x01D2, 'o', 3}, {0x00F2, 'o', 4},
    {0x016B, 'u', 1}, {0x00FA, 'u', 2}, {0x01D4, 'u', 3}, {0x00F9, 'u', 4},
    {0x01D6, 'v', 1}, {0x01D8, 'v', 2}, {0x01DA, 'v', 3}, {0x01DC, 'v', 4},
    {0x00FC, 'v', 0}, {0x1E3F, 'm', 2}, {0x0144, 'n', 2}, {0x0148, 'n', 3},
    {0x01F9, 'n', 4},
};

// Combining marks of decomposed text: macron, acute, caron, grave.
int toneOfCombiningMark(std::uint32_t c) {
    switch (c) {
        case 0x0304: return 1;
        case 0x0301: return 2;
        case 0x030C: return 3;
        case 0x0300: return 4;
        default: return 0;
    }
}

std::vector<std::string> splitBlanks(const std::string& text) {
    std::vector<std::string> pieces;
    std::istringstream in(text);
    for (std::string piece; in >> piece;) pieces.push_back(piece);
    return pieces;
}

// "U+4E2D" as a code point; nothing when malformed.
std::optional<std::uint32_t> parseCodePoint(const std::string& field) {
    if (field.size() < 3 || field.compare(0, 2, "U+") != 0) return std::nullopt;
    std::uint32_t value = 0;
    for (size_t i = 2; i < field.size(); ++i) {
        const char c = field[i];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0 || value > 0x10FFFF) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value <= 0x10FFFF ? std::optional<std::uint32_t>(value) : std::nullopt;
}

// The Unihan fields that give Mandarin readings, the likeliest first.
enum Field { kPinlu, kMandarin, kTghz2013, kXhc1983, kHanyuPinyin, kFieldCount };

std::optional<Field> fieldOf(const std::string& name) {
    if (name == "kHanyuPinlu") return kPinlu;
    if (name == "kMandarin") return kMandarin;
    if (name == "kTGHZ2013") return kTghz2013;
    if (name == "kXHC1983") return kXhc1983;
    if (name == "kHanyuPinyin") return kHanyuPinyin;
    return std::nullopt;
}

// The marked readings of one field value in the field's own order:
// kHanyuPinlu "zhōng(4875) zhòng(66)" by falling count (equal counts in
// order); kMandarin "zhōng"; the dictionary fields "482.140:zhōng 485.010:zhòng"
// or "10019.020:zhōng,zhòng".
std::vector<std::string> markedReadings(Field field, const std::string& value) {
    std::vector<std::string> readings;
    if (field == kPinlu) {
        std::vector<std::pair<long, std::string>> counted;
        for (const std::string& piece : splitBlanks(value)) {
            const size_t open = piece.find('(');
            if (open == std::string::npos || piece.back() != ')') continue;
            counted.emplace_back(std::strtol(piece.c_str() + open + 1, nullptr, 10), piece.substr(0, open));
        }
        std::stable_sort(counted.begin(), counted.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (auto& [count, reading] : counted) readings.push_back(std::move(reading));
        return readings;
    }
    for (const std::string& piece : splitBlanks(value)) {
        const size_t colon = piece.find(':');
        std::istringstream list(colon == std::string::npos ? piece : piece.substr(colon + 1));
        for (std::string reading; std::getline(list, reading, ',');) {
            if (!reading.empty()) readings.push_back(reading);
        }
    }
    return readings;
}

// One of the syllables a singer can be given: the built-in syllable list of
// the pinyin dictionary, which leaves out erhua "r" and spellings such as "eng".
bool isValidSyllable(const std::string& symbol) {
    static const CPinyinDict dict;
    return dict.isPinyin(symbol.substr(0, symbol.size() - 1));
}

}  // namespace

std::optional<std::string> markedPinyinToSymbol(std::string_view reading) {
    std::vector<std::uint32_t> cps;
    if (!strictUtf8ToCodePoints(reading, cps) || cps.empty()) return std::nullopt;
    std::string base;
    int tone = 0;
    for (std::uint32_t c : cps) {
        if (c >= 'a' && c <= 'z') {
            base += static_cast<char>(c);
        } else if (const int mark = toneOfCombiningMark(c)) {
            tone = mark;
        } else if (c == 0x0308 && !base.empty() && base.back() == 'u') {
            base.back() = 'v';
        } else {
            const MarkedLetter* letter = nullptr;
            for (const MarkedLetter& m : kMarkedLetters) {
                if (m.codePoint == c) letter = &m;
            }
            if (!letter) return std::nullopt;
            base += letter->base;
            if (letter->tone) tone = letter->tone;
        }
    }
    std::string symbol = base + std::to_string(tone ? tone : 5);
    if (!lookupSymbol(symbol.c_str(), static_cast<unsigned>(symbol.size()))) return std::nullopt;
    return symbol;
}

UnihanLists convertUnihanReadings(std::istream& in) {
    std::map<std::uint32_t, std::array<std::string, kFieldCount>> values;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab1 = line.find('\t');
        const size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) continue;
        const std::optional<std::uint32_t> cp = parseCodePoint(line.substr(0, tab1));
        const std::optional<Field> field = fieldOf(line.substr(tab1 + 1, tab2 - tab1 - 1));
        if (!cp || !field) continue;
        std::string value = line.substr(tab2 + 1);
        if (!value.empty() && value.back() == '\r') value.pop_back();
        values[*cp][*field] = std::move(value);
    }

    UnihanLists lists;
    for (const auto& [cp, fields] : values) {
        std::vector<std::string> symbols;
        std::set<std::string> unusable;
        bool frequent = false;  // the first reading comes from kHanyuPinlu
        for (int field = 0; field < kFieldCount; ++field) {
            for (const std::string& marked : markedReadings(static_cast<Field>(field), fields[field])) {
                const std::optional<std::string> symbol = markedPinyinToSymbol(marked);
                if (!symbol || !isValidSyllable(*symbol)) {
                    unusable.insert(marked);
                } else if (std::find(symbols.begin(), symbols.end(), *symbol) == symbols.end()) {
                    symbols.push_back(*symbol);
                }
            }
            if (field == kPinlu) frequent = !symbols.empty();
        }
        lists.skippedReadings += static_cast<int>(unusable.size());
        if (symbols.empty()) continue;
        (frequent ? lists.common : lists.other)[cp] = symbols.front();
        lists.readings[cp] = std::move(symbols);
    }
    return lists;
}

void writeCharacterList(std::ostream& out, const std::map<std::uint32_t, std::string>& entries,
                        std::string_view comment) {
    out << "// " << comment << "\n";
    for (const auto& [cp, symbol] : entries) out << codePointToUtf8(cp) << '\t' << symbol << '\n';
}
