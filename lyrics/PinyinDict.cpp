#include "lyrics/PinyinDict.h"

#include <algorithm>
#include <iostream>

#include "lyrics/PinyinTables.h"
#include "lyrics/Utf8CodePoints.h"

namespace {

// The valid syllables: the built-in syllable list plus the spellings "lue"
// and "nue" of lve and nve.
std::string syllableText() {
    return std::string(Halvoren::BuiltinSyllableList) + "lue, nue, ";
}

}  // namespace

CPinyinDict::CPinyinDict() { buildSyllables(); }

CPinyinDict::~CPinyinDict() = default;

void CPinyinDict::buildSyllables() { syllables = Halvoren::splitSyllableList(syllableText()); }

void CPinyinDict::load(const CString& folder) {
    dictionary.reset();
    syllables.clear();
    // What cannot be read is a diagnostic: it goes to standard error.
    dictionary = std::make_unique<ChCharacterDict>(folder, std::cerr);
    dictionary->load();
    buildSyllables();
}

std::vector<const SymbolSlot*> CPinyinDict::readingsOf(
    const std::vector<std::uint32_t>& codePoints) const {
    if (dictionary) return dictionary->lookupText(codePoints);
    // No dictionary loaded: behave as an empty one.
    std::vector<const SymbolSlot*> readings;
    for (std::uint32_t code : codePoints) readings.push_back(&ChCharacterDict::fallbackReading(code));
    return readings;
}

std::string CPinyinDict::pinyinOf(const SymbolSlot* reading) {
    std::string s = reading->text ? reading->text : "";
    if (s.size() > 1) s.pop_back();
    return s;
}

const std::vector<std::string>& CPinyinDict::textToPinyin(const std::string& text) {
    results.clear();
    for (const SymbolSlot* reading : readingsOf(utf8ToCodePoints(text)))
        results.push_back(pinyinOf(reading));
    return results;
}

void CPinyinDict::textToCharsAndPinyin(const std::string& text, std::vector<std::string>& pinyinOut,
                                       std::vector<std::string>& charsOut) {
    pinyinOut.clear();
    charsOut.clear();
    const std::vector<std::uint32_t> codePoints = utf8ToCodePoints(text);
    const std::vector<const SymbolSlot*> readings = readingsOf(codePoints);
    for (size_t i = 0; i < readings.size() && i < codePoints.size(); ++i) {
        std::string pinyin = pinyinOf(readings[i]);
        if (pinyin.empty()) continue;
        pinyinOut.push_back(std::move(pinyin));
        charsOut.push_back(codePointToUtf8(codePoints[i]));
    }
}

bool CPinyinDict::isPinyin(const std::string& s) const {
    return std::find(syllables.begin(), syllables.end(), s) != syllables.end();
}

CPinyinDict& getPinyinDict() {
    static CPinyinDict dict;
    return dict;
}
