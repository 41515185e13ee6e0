#include "SyllableSpellings.h"

#include <algorithm>
#include <array>

namespace demobank {

namespace {

enum class LetterCase { lower, capitalised, upper };

// A letter that can carry a tone mark, in lower case and in capitals:
// unmarked, then with the marks of tones 1 to 4.
struct MarkableLetter {
    char letter;
    std::array<const char*, 5> lower, upper;
};

// Unicode has no precomposed n with a macron: its combining macron follows.
constexpr MarkableLetter kMarkable[] = {
    {'a', {"a", "ā", "á", "ǎ", "à"}, {"A", "Ā", "Á", "Ǎ", "À"}},
    {'e', {"e", "ē", "é", "ě", "è"}, {"E", "Ē", "É", "Ě", "È"}},
    {'i', {"i", "ī", "í", "ǐ", "ì"}, {"I", "Ī", "Í", "Ǐ", "Ì"}},
    {'o', {"o", "ō", "ó", "ǒ", "ò"}, {"O", "Ō", "Ó", "Ǒ", "Ò"}},
    {'u', {"u", "ū", "ú", "ǔ", "ù"}, {"U", "Ū", "Ú", "Ǔ", "Ù"}},
    {'v', {"ü", "ǖ", "ǘ", "ǚ", "ǜ"}, {"Ü", "Ǖ", "Ǘ", "Ǚ", "Ǜ"}},
    {'n', {"n", "n\xCC\x84", "ń", "ň", "ǹ"}, {"N", "N\xCC\x84", "Ń", "Ň", "Ǹ"}},
};

const MarkableLetter* markable(char c)
{
    for (const MarkableLetter& m : kMarkable)
        if (m.letter == c)
            return &m;
    return nullptr;
}

// Where the tone mark goes: on a or e, on the o of "ou", else on the last
// vowel; "ng", which has none, carries it on its n.
std::size_t markPosition(const std::string& syllable)
{
    std::size_t at = syllable.find_first_of("ae");
    if (at == std::string::npos)
        at = syllable.find("ou");
    if (at == std::string::npos)
        at = syllable.find_last_of("iouv");
    if (at == std::string::npos && syllable == "ng")
        at = 0;
    return at;
}

// The syllable in one letter case, "v" as ü when umlaut is set, with the
// mark of tone (1 to 4; 0: none) on the letter at markAt.
std::string spell(const std::string& syllable, LetterCase letterCase, bool umlaut, std::size_t markAt, int tone)
{
    std::string out;
    for (std::size_t i = 0; i < syllable.size(); ++i) {
        const char c = syllable[i];
        const bool capital = letterCase == LetterCase::upper || (letterCase == LetterCase::capitalised && i == 0);
        const int mark = i == markAt ? tone : 0;
        const MarkableLetter* m = markable(c);
        if (m != nullptr && (mark != 0 || (c == 'v' && umlaut)))
            out += capital ? m->upper[mark] : m->lower[mark];
        else
            out += capital && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

}  // namespace

std::vector<std::string> syllableSpellings(const std::string& syllable)
{
    const bool hasV = syllable.find('v') != std::string::npos;
    const std::size_t markAt = markPosition(syllable);
    std::vector<std::string> spellings;
    // A one-letter syllable is the same capitalised and in capitals.
    const auto add = [&spellings](const std::string& spelling) {
        if (std::find(spellings.begin(), spellings.end(), spelling) == spellings.end())
            spellings.push_back(spelling);
    };
    for (LetterCase letterCase : {LetterCase::lower, LetterCase::capitalised, LetterCase::upper}) {
        for (bool umlaut : {false, true}) {
            if (umlaut && !hasV)
                continue;
            const std::string bare = spell(syllable, letterCase, umlaut, std::string::npos, 0);
            add(bare);
            for (char digit = '1'; digit <= '5'; ++digit)
                add(bare + digit);
            // Marks go on ü, never on v.
            if (umlaut == hasV && markAt != std::string::npos)
                for (int tone = 1; tone <= 4; ++tone)
                    add(spell(syllable, letterCase, umlaut, markAt, tone));
        }
    }
    return spellings;
}

}  // namespace demobank
