#include "tools/unihan/RimeWords.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <sstream>

#include "lyrics/Utf8CodePoints.h"

namespace {

using Readings = std::map<std::uint32_t, std::vector<std::string>>;

// Rime writes ü after l and n as "ue"; the dictionary's symbols use "ve".
std::string dictionarySpelling(const std::string& syllable) {
    if (syllable == "lue" || syllable == "nue") return syllable.substr(0, 1) + "ve";
    return syllable;
}

// The reading of each character whose syllable (the symbol less its tone
// digit) is the one given; nothing when some character has no such reading.
std::optional<std::vector<std::string>> matchTones(const std::vector<std::uint32_t>& word,
                                                   const std::string& syllables,
                                                   const Readings& readings) {
    std::istringstream in(syllables);
    std::vector<std::string> symbols;
    for (std::string syllable; in >> syllable;) {
        if (symbols.size() == word.size()) return std::nullopt;
        const auto found = readings.find(word[symbols.size()]);
        if (found == readings.end()) return std::nullopt;
        syllable = dictionarySpelling(syllable);
        const std::string* match = nullptr;
        for (const std::string& symbol : found->second) {
            if (symbol.size() == syllable.size() + 1 && symbol.compare(0, syllable.size(), syllable) == 0) {
                match = &symbol;
                break;
            }
        }
        if (!match) return std::nullopt;
        symbols.push_back(*match);
    }
    if (symbols.size() != word.size()) return std::nullopt;
    return symbols;
}

}  // namespace

RimeWords convertRimeWords(std::istream& in, const Readings& readings) {
    std::map<std::vector<std::uint32_t>, long long> bestWeight;
    std::set<std::vector<std::uint32_t>> seen;
    RimeWords words;
    bool inBody = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!inBody) {
            inBody = line == "...";
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string text, syllables, weightText;
        std::getline(fields, text, '\t');
        std::getline(fields, syllables, '\t');
        std::getline(fields, weightText, '\t');
        std::vector<std::uint32_t> word;
        if (!strictUtf8ToCodePoints(text, word) || word.empty()) continue;
        const long long weight = std::strtoll(weightText.c_str(), nullptr, 10);
        if (word.size() == 1) {
            long long& known = words.characterWeights[word[0]][dictionarySpelling(syllables)];
            known = std::max(known, weight);
            continue;
        }
        seen.insert(word);
        const std::optional<std::vector<std::string>> symbols = matchTones(word, syllables, readings);
        if (!symbols) continue;
        const auto best = bestWeight.find(word);
        if (best != bestWeight.end() && best->second >= weight) continue;
        bestWeight[word] = weight;
        words.phrases[word] = *symbols;
    }
    words.leftOut = static_cast<int>(seen.size() - words.phrases.size());
    return words;
}

void rankReadingsByWeight(UnihanLists& lists, const RimeWords& words) {
    for (const auto& entry : words.characterWeights) {
        const std::uint32_t cp = entry.first;
        const std::map<std::string, long long>& weights = entry.second;
        const auto found = lists.readings.find(cp);
        if (found == lists.readings.end()) continue;
        std::vector<std::string>& symbols = found->second;
        // A symbol less its tone digit is its toneless syllable.
        const auto weightOf = [&weights](const std::string& symbol) {
            const auto w = weights.find(symbol.substr(0, symbol.size() - 1));
            return w == weights.end() ? -1LL : w->second;
        };
        std::set<std::string> syllables;
        for (const std::string& symbol : symbols)
            if (weightOf(symbol) >= 0) syllables.insert(symbol.substr(0, symbol.size() - 1));
        if (syllables.size() < 2) continue;
        std::stable_sort(symbols.begin(), symbols.end(),
                         [&](const std::string& a, const std::string& b) { return weightOf(a) > weightOf(b); });
        for (auto* list : {&lists.common, &lists.other}) {
            const auto own = list->find(cp);
            if (own != list->end()) own->second = symbols.front();
        }
    }
}

void writePhraseList(std::ostream& out,
                     const std::map<std::vector<std::uint32_t>, std::vector<std::string>>& phrases,
                     std::string_view comment) {
    out << "// " << comment << "\n";
    for (const auto& [word, symbols] : phrases) {
        out << '(';
        for (size_t i = 0; i < word.size(); ++i) out << (i ? " " : "") << codePointToUtf8(word[i]);
        out << ")\t";
        for (const std::string& symbol : symbols) out << symbol;
        out << '\n';
    }
}
