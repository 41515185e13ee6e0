#pragma once
// Small lookups shared by the symbol managers: exact, case-sensitive
// comparisons of whole strings.
#include <algorithm>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/StringUtil.h"

namespace Halvoren {

inline bool isOneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

inline bool contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

// The value stored for key, or an empty string when there is none.
inline std::string valueOf(const std::map<std::string, std::string>& map, const std::string& key) {
    auto found = map.find(key);
    return found == map.end() ? std::string() : found->second;
}

// The pieces of text between separators (see splitString).
inline std::vector<std::string> piecesOf(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    splitString(pieces, text, separator);
    return pieces;
}

} // namespace Halvoren
