#pragma once
// Small string and vector helpers shared by every layer.
#include <algorithm>
#include <string>
#include <vector>

// Clears out; an empty text gives no pieces. Otherwise every piece between
// delimiters is appended in order: consecutive delimiters give empty pieces
// and the text after the last delimiter is the last piece (empty when the
// text ends with a delimiter). An empty delimiter gives the whole text.
void splitString(std::vector<std::string>& out, std::string text, std::string delimiter);
// The same function under the name the editing windows use.
inline void splitStr(std::vector<std::string>& out, std::string text, std::string delimiter) {
    splitString(out, std::move(text), std::move(delimiter));
}

// Replaces every occurrence of from in place, searching on after each
// replacement. An empty from changes nothing.
void replaceAll(std::string& text, const std::string& from, const std::string& to);

// Lower-cases the ASCII letters only; other bytes (UTF-8 included) stay.
std::string toLowerAscii(std::string text);

template <typename T>
bool containsPtr(const std::vector<T*>& items, const T* item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The text with its first part from open up to and including the next close
// removed ("a<x1>b" with "<" and ">" gives "ab"). Without an open followed by
// a close (or with an empty open or close) the text comes back unchanged.
std::string removeStrBetween(const std::string& text, const std::string& open, const std::string& close);
// The text between the first open and the next close ("a<x1>" gives "x1");
// empty when there is no such pair.
std::string getStrBetween(const std::string& text, const std::string& open, const std::string& close);
