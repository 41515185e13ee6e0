#include "platform/StringUtil.h"

void splitString(std::vector<std::string>& out, std::string text, std::string delimiter) {
    out.clear();
    if (text.empty()) return;
    if (delimiter.empty()) {
        out.push_back(text);
        return;
    }
    text += delimiter;
    size_t start = 0;
    size_t at;
    while ((at = text.find(delimiter, start)) != std::string::npos) {
        out.push_back(text.substr(start, at - start));
        start = at + delimiter.size();
    }
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

std::string toLowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

namespace {
// Where the first open and the close after it stand; false when either is missing.
bool findBetween(const std::string& text, const std::string& open, const std::string& close, size_t& openAt,
                 size_t& closeAt) {
    if (open.empty() || close.empty()) return false;
    openAt = text.find(open);
    if (openAt == std::string::npos) return false;
    closeAt = text.find(close, openAt + open.size());
    return closeAt != std::string::npos;
}
}  // namespace

std::string removeStrBetween(const std::string& text, const std::string& open, const std::string& close) {
    size_t openAt = 0, closeAt = 0;
    if (!findBetween(text, open, close, openAt, closeAt)) return text;
    return text.substr(0, openAt) + text.substr(closeAt + close.size());
}

std::string getStrBetween(const std::string& text, const std::string& open, const std::string& close) {
    size_t openAt = 0, closeAt = 0;
    if (!findBetween(text, open, close, openAt, closeAt)) return std::string();
    return text.substr(openAt + open.size(), closeAt - openAt - open.size());
}
