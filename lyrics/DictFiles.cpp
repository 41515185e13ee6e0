// Reading and writing the files of the character dictionary: the text lists
// "zh_list"/"zh_listx" and the compiled "zh.dict".
//
// zh.dict is little-endian records up to the end of the file, no header:
//   character   u16 code point; the value 1 escapes a u32 code point
//   symbol code u16 index into the phonetic symbol table
//   count       u16 number of phrases under this character
//   phrases     count times: u16 length n, then n (character, u16 symbol code)
#include <cstdio>
#include <limits>

#include "lyrics/ChCharacterDict.h"
#include "lyrics/Utf8CodePoints.h"
#include "platform/ByteCursor.h"
#include "platform/FileUtil.h"
#include "platform/StringUtil.h"

namespace {

constexpr std::uint16_t kCodePointEscape = 1;
// The text lists hold about a megabyte, the compiled dictionary less.
constexpr std::uint64_t kMaxDictFileBytes = std::uint64_t{8} << 20;
constexpr std::uint16_t kMaxU16 = std::numeric_limits<std::uint16_t>::max();

bool isBlank(std::uint32_t c) { return c == ' ' || c == '\t'; }
bool isAsciiDigit(std::uint32_t c) { return c >= '0' && c <= '9'; }
bool isAsciiAlnum(std::uint32_t c) {
    return isAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A symbol: ASCII letters and digits up to and including the first digit.
// pos ends on the first character not taken.
std::string readSymbol(const std::vector<std::uint32_t>& cps, size_t& pos) {
    std::string symbol;
    while (pos < cps.size() && isAsciiAlnum(cps[pos])) {
        symbol += static_cast<char>(cps[pos++]);
        if (isAsciiDigit(symbol.back())) break;
    }
    return symbol;
}

// The table slot of a pinyin symbol; null, reported to log, when the table
// has no such symbol.
const SymbolSlot* knownReading(const std::string& symbol, int lineNo, std::ostream& log) {
    const SymbolHashEntry* found = lookupSymbol(symbol.c_str(), static_cast<unsigned>(symbol.size()));
    if (found) return &PhoneticSymbolTable::instance()[found->code];
    log << "Unknown symbol " << symbol << " at line " << lineNo << std::endl;
    return nullptr;
}

// A character of the compiled file: a u16 code point, or the escape and
// a u32 one. Fails, not moving, when the file ends inside it.
bool readCharacter(ByteCursor& in, std::uint32_t& codePoint) {
    ByteCursor at = in;
    std::uint16_t unit = 0;
    if (!at.u16(unit)) return false;
    if (unit == kCodePointEscape && !at.u32(codePoint)) return false;
    if (unit != kCodePointEscape) codePoint = unit;
    in = at;
    return true;
}

void putU16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void putCharacter(std::string& out, std::uint32_t codePoint) {
    // Code point 1 would read back as the escape, so it takes the escape too.
    if (codePoint < ChCharacterDict::kTableSize && codePoint != kCodePointEscape) {
        putU16(out, static_cast<std::uint16_t>(codePoint));
        return;
    }
    putU16(out, kCodePointEscape);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(codePoint >> shift & 0xFF);
}

}  // namespace

CString ChCharacterDict::appendPath(const char* suffix) const {
    return folder + CString::fromUtf8(suffix);
}

int ChCharacterDict::load() {
    clear();
    const CString compiledPath = appendPath("/zh.dict");
    const CString listPath = appendPath("/zh_list");
    const CString listxPath = appendPath("/zh_listx");
    if (FilePtr probe{openFile(compiledPath, "rb")}) {
        const bool empty = bytesLeftInFile(probe.get()) == 0u;
        probe.reset();
        const bool listsThere = isFileExist(listPath) && isFileExist(listxPath);
        // An empty compiled file (a write that never got going) stands for
        // nothing when the lists are there: it is compiled again from them.
        if (!empty || !listsThere) {
            if (loadCompiled(compiledPath) == 0) return 0;
            // A damaged compiled file is rebuilt when the lists are there to
            // rebuild it from; otherwise what it gave is better than nothing.
            if (!listsThere) return -1;
            clear();
        }
    }
    for (const CString& path : {listPath, listxPath}) {
        if (parseEspeakList(path) != 0) {
            log << "Fail to load espeak dictionary: " << path.toPathBytes() << std::endl;
            return -1;
        }
    }
    saveCompiled(compiledPath);
    return 0;
}

int ChCharacterDict::parseEspeakList(const CString& path) {
    std::string text;
    if (!readWholeFile(path, text, kMaxDictFileBytes)) {
        log << "Fail to open file " << path.toPathBytes() << " at " << 54 << std::endl;
        return -1;
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    std::vector<std::string> lines;
    splitStr(lines, text, "\n");
    int lineNo = 0;
    for (std::string& line : lines) {
        ++lineNo;
        // Lists written on Windows end their lines with "\r\n".
        if (!line.empty() && line.back() == '\r') line.pop_back();
        parseListLine(line, lineNo);
    }
    return 0;
}

void ChCharacterDict::reportBadFormat(int lineNo, const char* reason, const std::string& line) {
    log << "Bad espeak dictionary format at line " << lineNo << "(" << reason << "): " << line
        << std::endl;
}

void ChCharacterDict::parseListLine(const std::string& line, int lineNo) {
    std::vector<std::uint32_t> cps;
    if (!strictUtf8ToCodePoints(line, cps)) {
        log << "Invalid UTF-8 at line " << lineNo << std::endl;
        return;
    }
    size_t pos = 0;
    while (pos < cps.size() && isBlank(cps[pos])) ++pos;
    if (pos == cps.size() || cps[pos] == '_') return;
    if (cps[pos] == '/' && pos + 1 < cps.size() && cps[pos + 1] == '/') return;
    if (cps[pos] == '(') {
        parsePhraseLine(cps, pos, line, lineNo);
        return;
    }

    const std::uint32_t character = cps[pos++];
    if (pos == cps.size() || !isBlank(cps[pos])) return;
    while (pos < cps.size() && isBlank(cps[pos])) ++pos;
    const std::string symbol = readSymbol(cps, pos);
    if (symbol.empty()) return;
    const SymbolSlot* reading = knownReading(symbol, lineNo, log);
    if (!reading) return;
    ChCharEntry& entry = entryFor(character);
    entry.codePoint = character;
    entry.reading = reading;
}

void ChCharacterDict::parsePhraseLine(const std::vector<std::uint32_t>& cps, size_t pos,
                                      const std::string& line, int lineNo) {
    ChPhrase phrase;
    ++pos;  // "("
    if (pos < cps.size()) phrase.chars.push_back({cps[pos++], nullptr});
    while (pos + 1 < cps.size() && cps[pos] == ' ') {
        phrase.chars.push_back({cps[pos + 1], nullptr});
        pos += 2;
    }
    if (phrase.chars.empty() || pos == cps.size() || cps[pos] != ')') {
        reportBadFormat(lineNo, "word not quoted by ')'", line);
        return;
    }
    ++pos;
    while (pos < cps.size() && isBlank(cps[pos])) ++pos;

    bool bad = false;
    size_t assigned = 0;
    while (pos < cps.size()) {
        const std::string symbol = readSymbol(cps, pos);
        if (symbol.empty()) {
            reportBadFormat(lineNo, "symbol not ended with number", line);
            bad = true;
            break;
        }
        if (assigned == phrase.length()) {
            reportBadFormat(lineNo, "symbols more than ChCharacters", line);
            bad = true;
            break;
        }
        phrase.chars[assigned].second = knownReading(symbol, lineNo, log);
        if (!phrase.chars[assigned].second) bad = true;
        ++assigned;
        if (pos < cps.size() && (cps[pos] == '|' || cps[pos] == '\r')) ++pos;
    }
    if (assigned < phrase.length()) {
        reportBadFormat(lineNo, "ChCharacters more than symbols", line);
        bad = true;
    }
    if (bad) return;
    ChCharEntry& first = entryFor(phrase.chars.front().first);
    if (!first.phrases) first.phrases = std::make_unique<std::vector<ChPhrase>>();
    first.phrases->push_back(std::move(phrase));
}

int ChCharacterDict::loadCompiled(const CString& path, const ReadLimits& limits) {
    std::string bytes;
    if (!readWholeFile(path, bytes, kMaxDictFileBytes)) return -1;
    const PhoneticSymbolTable& symbols = PhoneticSymbolTable::instance();
    ByteCursor in(bytes.data(), bytes.size());
    ReadBudget budget(bytes.size(), limits);
    auto outOfRange = [this](std::uint16_t code, int where) {
        log << "Corrupted dictionary (phonetic symbol code out of range): " << code << " at line "
            << where << std::endl;
        return -1;
    };
    auto truncated = [this, &path] {
        log << "Corrupted dictionary (file ends inside a record): " << path.toPathBytes() << std::endl;
        return -1;
    };
    auto overBudget = [this, &path] {
        log << "Corrupted dictionary (more records than its size allows): " << path.toPathBytes() << std::endl;
        return -1;
    };

    while (!in.atEnd()) {
        std::uint32_t character = 0;
        std::uint16_t code = 0, phraseCount = 0;
        if (!readCharacter(in, character) || !in.u16(code)) return truncated();
        if (code >= PhoneticSymbolTable::kSize) return outOfRange(code, 283);
        if (!in.u16(phraseCount)) return truncated();
        if (!budget.takeRecord(sizeof(ChCharEntry))) return overBudget();

        ChCharEntry& entry = entryFor(character);
        entry.codePoint = character;
        entry.reading = &symbols[code];

        // The phrase list replaces the entry's only once it is complete, so a
        // damaged tail leaves the phrases an earlier record gave.
        std::unique_ptr<std::vector<ChPhrase>> phrases;
        if (phraseCount > 0) {
            phrases = std::make_unique<std::vector<ChPhrase>>();
            for (int i = 0; i < phraseCount; ++i) {
                std::uint16_t length = 0;
                // Each pair takes at least 4 bytes: never trust a length
                // beyond what the file still holds.
                if (!in.u16(length) || !in.holds(length, 4)) return truncated();
                if (!budget.takeRecord(sizeof(ChPhrase) + length * sizeof(decltype(ChPhrase::chars)::value_type)))
                    return overBudget();
                ChPhrase phrase;
                phrase.chars.reserve(length);
                for (int k = 0; k < length; ++k) {
                    std::uint32_t cp = 0;
                    std::uint16_t pairCode = 0;
                    if (!readCharacter(in, cp) || !in.u16(pairCode)) return truncated();
                    if (pairCode >= PhoneticSymbolTable::kSize) return outOfRange(pairCode, 343);
                    phrase.chars.push_back({cp, &symbols[pairCode]});
                }
                phrases->push_back(std::move(phrase));
            }
        }
        // A record without phrases keeps those an earlier record gave.
        if (phrases) entry.phrases = std::move(phrases);
    }
    return 0;
}

int ChCharacterDict::saveCompiled(const CString& path) {
    const PhoneticSymbolTable& symbols = PhoneticSymbolTable::instance();
    std::string out;
    auto writeEntry = [&](const ChCharEntry& entry) {
        const int code = symbols.codeOf(entry.reading);
        if (entry.codePoint == 0 || code < 0) return;
        putCharacter(out, entry.codePoint);
        putU16(out, static_cast<std::uint16_t>(code));
        // Counts and lengths are u16 in the file; what does not fit is left out.
        std::vector<const ChPhrase*> phrases;
        for (size_t i = 0; entry.phrases && i < entry.phrases->size() && phrases.size() < kMaxU16; ++i) {
            if ((*entry.phrases)[i].length() <= kMaxU16) phrases.push_back(&(*entry.phrases)[i]);
        }
        putU16(out, static_cast<std::uint16_t>(phrases.size()));
        for (const ChPhrase* phrase : phrases) {
            putU16(out, static_cast<std::uint16_t>(phrase->length()));
            for (const auto& [cp, reading] : phrase->chars) {
                putCharacter(out, cp);
                putU16(out, static_cast<std::uint16_t>(symbols.codeOf(reading)));
            }
        }
    };
    for (const ChCharEntry& entry : table) writeEntry(entry);
    for (const auto& [cp, entry] : supplementary) writeEntry(entry);

    // Written beside the target and renamed over it, so a crash never leaves
    // a cut-short "zh.dict" that the next start would trust.
    const CString tempPath = path + u".tmp";
    FILE* f = openFile(tempPath, "wb");
    if (!f) return -1;
    const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !written || !renameFile(tempPath, path)) {
        removeFile(tempPath);
        return -1;
    }
    return 0;
}
