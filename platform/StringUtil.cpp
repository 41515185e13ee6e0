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
