#include "lyrics/PinyinTables.h"

#include <algorithm>

namespace Halvoren {

bool isMember(SymbolTable table, std::string_view text) {
    return std::find(table.begin(), table.end(), text) != table.end();
}

std::vector<std::string> splitSyllableList(std::string_view list) {
    constexpr std::string_view separator = ", ";
    std::vector<std::string> syllables;
    size_t start = 0;
    size_t at;
    while ((at = list.find(separator, start)) != std::string_view::npos) {
        syllables.emplace_back(list.substr(start, at - start));
        start = at + separator.size();
    }
    return syllables;
}

const std::vector<std::string>& builtinSyllables() {
    static const std::vector<std::string> syllables = splitSyllableList(BuiltinSyllableList);
    return syllables;
}

} // namespace Halvoren
