#include "lyrics/ChnSymbolMgr.h"

#include <string_view>
#include <utility>

#include "lyrics/PinyinTables.h"
#include "lyrics/SymbolTableUtil.h"

namespace Halvoren {

namespace {

// Initials after which "u", "un" and "uan" are spelled for the u-umlaut.
bool takesUmlaut(const std::string& initial) {
    return isOneOf(initial, {"j", "q", "x", "y"});
}

// A bare "i" is the apical vowel after the retroflex and the dental sibilants.
std::string rhymeOfBareI(const std::string& initial) {
    if (isOneOf(initial, {"zh", "ch", "sh", "r"})) return "r";
    if (isOneOf(initial, {"z", "c", "s"})) return "rr";
    return "i";
}

std::string rhymeEndingInN(const std::string& final, const std::string& initial) {
    if (final == "an") return initial == "y" ? "ian" : "an";
    if (final == "uan") return takesUmlaut(initial) ? "ian" : "an";
    if (final == "un") return takesUmlaut(initial) ? "vn" : "un";
    if (isOneOf(final, {"ian", "en", "in"})) return final;
    return {};
}

std::string rhymeEndingInG(const std::string& final) {
    if (isOneOf(final, {"ang", "iang", "uang"})) return "ang";
    if (isOneOf(final, {"ong", "iong"})) return "ong";
    if (isOneOf(final, {"eng", "ing"})) return final;
    return {};
}

// The bound finals and the syllables they are recorded in.
constexpr std::pair<std::string_view, std::string_view> kCarriers[] = {
    {"ong", "kong"}, {"eng", "keng"}, {"i", "yi"},  {"ian", "yan"}, {"ie", "ye"},
    {"in", "yin"},   {"ing", "ying"}, {"u", "wu"},  {"un", "hun"},  {"v", "yu"},
    {"vn", "yun"},   {"ve", "yue"},   {"r", "ri"},  {"rr", "zi"}};

// Each consonant with the representative of its group.
constexpr std::pair<std::string_view, std::string_view> kConsonantGroups[] = {
    {"b", "b"},   {"p", "b"},   {"d", "d"},   {"t", "d"},  {"g", "g"}, {"k", "g"},
    {"h", "g"},   {"j", "j"},   {"q", "j"},   {"x", "j"},  {"zh", "zh"}, {"ch", "zh"},
    {"sh", "zh"}, {"z", "z"},   {"c", "z"},   {"s", "z"}};

} // namespace

ChnSymbolMgr::ChnSymbolMgr() = default;

ChnSymbolMgr::~ChnSymbolMgr() = default;

std::string ChnSymbolMgr::initialOf(const std::string& syllable) {
    for (std::string_view initial : PinyinInitials) {
        if (syllable.starts_with(initial)) return std::string(initial);
    }
    return {};
}

std::string ChnSymbolMgr::onsetSymbol(const std::string& initial, const std::string& final) {
    if (initial != "y") return initial;
    return final.starts_with('u') ? "yv" : "yi";
}

std::string ChnSymbolMgr::rhymeOf(const std::string& final, const std::string& initial) {
    if (final.empty()) return {};
    switch (final.back()) {
    case 'a':
        return isOneOf(final, {"a", "ia", "ua"}) ? "a" : "";
    case 'o':
        if (isOneOf(final, {"o", "uo"})) return "o";
        return isOneOf(final, {"ao", "iao"}) ? "ao" : "";
    case 'e':
        if (final == "e") return initial == "y" ? "ie" : "e";
        if (final == "ie") return "ie";
        return isOneOf(final, {"ue", "ve"}) ? "ve" : "";
    case 'i':
        if (final == "i") return rhymeOfBareI(initial);
        if (isOneOf(final, {"ai", "uai"})) return "ai";
        return isOneOf(final, {"ei", "ui"}) ? "ei" : "";
    case 'u':
        if (final == "u") return takesUmlaut(initial) ? "v" : "u";
        return isOneOf(final, {"ou", "iu"}) ? "ou" : "";
    case 'v':
        return "v";
    case 'n':
        return rhymeEndingInN(final, initial);
    case 'g':
        return rhymeEndingInG(final);
    default:
        return {};
    }
}

void ChnSymbolMgr::splitSyllable(const std::string& symbol, std::string& consonant,
                                 std::string& vowel) {
    lastConsonant.clear();
    lastVowel.clear();
    bool standsAlone = false;
    if (isFinal(symbol, standsAlone)) {
        lastConsonant = symbol;
        lastVowel = symbol;
    } else {
        const std::string initial = initialOf(symbol);
        if (!initial.empty()) {
            const std::string final = symbol.substr(initial.size());
            lastConsonant = onsetSymbol(initial, final);
            if (!final.empty()) lastVowel = rhymeOf(final, initial);
        }
    }
    consonant = lastConsonant;
    vowel = lastVowel;
}

bool ChnSymbolMgr::isVoiced(const std::string& symbol) {
    return isMember(VoicedOnsets, symbol);
}

bool ChnSymbolMgr::isZeroInitialSyllable(const std::string& symbol) {
    return isMember(ZeroInitialSyllables, symbol);
}

bool ChnSymbolMgr::isFinal(const std::string& symbol, bool& standsAlone) {
    if (!isMember(PinyinFinals, symbol)) return false;
    standsAlone = !isMember(BoundFinals, symbol);
    return true;
}

std::string ChnSymbolMgr::carrierSyllable(const std::string& symbol) {
    for (const auto& [final, carrier] : kCarriers) {
        if (symbol == final) return std::string(carrier);
    }
    return {};
}

bool ChnSymbolMgr::hasMedial(const std::string& symbol) {
    if (isMember(PinyinFinals, symbol)) return false;
    const std::string initial = initialOf(symbol);
    if (initial.empty() || symbol.size() <= initial.size()) return false;
    const std::string final = symbol.substr(initial.size());
    if (final == "e") return initial == "y";
    return isOneOf(final, {"ia", "ua", "uo", "iao", "ie", "ue", "ve", "uai", "ui", "iu",
                           "uan", "ian", "un", "iang", "uang", "iong"});
}

bool ChnSymbolMgr::isBreath(const std::string& symbol) {
    return isMember(BreathSymbols, symbol);
}

bool ChnSymbolMgr::isExtraUnit(const std::string&) { return false; }

bool ChnSymbolMgr::isValidSymbol(const std::string& symbol) {
    if (!validSymbols) {
        auto symbols = std::make_unique<std::vector<std::string>>(builtinSyllables());
        symbols->insert(symbols->end(), BoundFinals.begin(), BoundFinals.end());
        symbols->insert(symbols->end(), BreathSymbols.begin(), BreathSymbols.end());
        validSymbols = std::move(symbols);
    }
    return contains(*validSymbols, symbol);
}

std::string ChnSymbolMgr::substituteConsonant(const std::string& symbol) {
    for (const auto& [consonant, representative] : kConsonantGroups) {
        if (symbol == consonant) return std::string(representative);
    }
    return symbol;
}

} // namespace Halvoren
