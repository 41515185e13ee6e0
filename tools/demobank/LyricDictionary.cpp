#include "LyricDictionary.h"

#include "SyllableSpellings.h"
#include "lyrics/Utf8CodePoints.h"

namespace demobank {

namespace {

constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

// The pinyin of a character's own reading; empty when it has none.
std::string ownPinyin(const ChCharacterDict& dict, std::uint32_t codePoint)
{
    const ChCharEntry* e = dict.findEntry(codePoint);
    return e != nullptr && e->reading != nullptr ? CPinyinDict::pinyinOf(e->reading) : std::string();
}

// "chars=py1 py2 ..." when the phrase reads differently from its characters
// and every reading is a valid syllable; else nothing.
bool phraseLine(const ChCharacterDict& dict, const CPinyinDict& pinyin, const ChPhrase& phrase, std::string& line)
{
    std::string word, symbols;
    bool differs = false;
    for (const auto& [codePoint, reading] : phrase.chars) {
        const std::string py = CPinyinDict::pinyinOf(reading);
        if (!pinyin.isPinyin(py))
            return false;
        differs = differs || py != ownPinyin(dict, codePoint);
        word += codePointToUtf8(codePoint);
        symbols += (symbols.empty() ? "" : " ") + py;
    }
    line = word + "=" + symbols;
    return differs;
}

}  // namespace

std::size_t writeLyricDictionary(std::ostream& out, const CPinyinDict& pinyin)
{
    std::size_t lines = 0;
    for (const std::string& syllable : pinyin.getSyllables()) {
        for (const std::string& spelling : syllableSpellings(syllable)) {
            out << spelling << '=' << syllable << '\n';
            ++lines;
        }
    }
    const ChCharacterDict* dict = pinyin.getDictionary();
    if (dict == nullptr)
        return lines;
    for (std::uint32_t cp = 1; cp <= kLastCodePoint; ++cp) {
        const ChCharEntry* e = dict->findEntry(cp);
        if (e == nullptr)
            continue;
        const std::string py = ownPinyin(*dict, cp);
        if (pinyin.isPinyin(py)) {
            out << codePointToUtf8(cp) << '=' << py << '\n';
            ++lines;
        }
        if (!e->phrases)
            continue;
        for (const ChPhrase& phrase : *e->phrases) {
            std::string line;
            if (phraseLine(*dict, pinyin, phrase, line)) {
                out << line << '\n';
                ++lines;
            }
        }
    }
    return lines;
}

}  // namespace demobank
