#include "lyrics/SingerLyricDict.h"

#include <algorithm>

#include "platform/FileUtil.h"
#include "platform/JsonFile.h"
#include "platform/StringUtil.h"

CSingerLyricDict::CSingerLyricDict() : dictionary(Json::objectValue) {}

CSingerLyricDict::~CSingerLyricDict() = default;

bool CSingerLyricDict::loadTxt(const CString& path) {
    std::string text;
    if (!readWholeFile(path, text)) return false;
    replaceAll(text, "\r", "");
    std::vector<std::string> lines;
    splitStr(lines, text, "\n");

    dictionary = Json::Value(Json::objectValue);
    std::vector<std::string> sides;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        splitStr(sides, line, "=");
        if (sides.size() == 2 && !sides[0].empty() && !sides[1].empty())
            dictionary[sides[0]] = sides[1];
    }
    updateMaxKeyLen();
    return true;
}

bool CSingerLyricDict::loadJson(const CString& path) {
    dictionary = Json::Value(Json::objectValue);
    maxKeyLen = 0;
    Json::Value loaded;
    if (!loadJsonFile(path, loaded) || !loaded.isObject()) return false;
    for (auto it = loaded.begin(); it != loaded.end(); ++it) {
        if (it->isString()) dictionary[it.name()] = *it;
    }
    updateMaxKeyLen();
    return true;
}

void CSingerLyricDict::updateMaxKeyLen() {
    maxKeyLen = 0;
    for (const std::string& name : dictionary.getMemberNames())
        maxKeyLen = std::max(maxKeyLen, static_cast<int>(name.size()));
}

const Json::Value* CSingerLyricDict::findWord(const std::string& word) const {
    // find() on the const value: indexing would insert a null member.
    const Json::Value* value = dictionary.find(word.data(), word.data() + word.size());
    return value && !value->isNull() ? value : nullptr;
}

void CSingerLyricDict::lookup(const std::string& text, std::vector<std::string>& words,
                              std::vector<std::string>& symbols) {
    words.clear();
    symbols.clear();
    size_t p = 0;
    while (p < text.size()) {
        size_t advance = 1;
        for (int len = maxKeyLen; len >= 1; --len) {
            std::string piece = text.substr(p, static_cast<size_t>(len));
            if (!findWord(piece)) continue;
            symbols.push_back(expandEntry(piece));
            words.push_back(piece);
            advance = static_cast<size_t>(len);
            break;
        }
        p += advance;
    }
}

std::string CSingerLyricDict::expandEntry(const std::string& word) const {
    std::vector<std::string> path;
    return expandEntry(word, path);
}

std::string CSingerLyricDict::expandEntry(const std::string& word,
                                          std::vector<std::string>& path) const {
    const Json::Value* value = findWord(word);
    const std::string text = value && value->isString() ? value->asString() : std::string();

    std::vector<std::string> pieces;
    splitStr(pieces, text, " ");
    pieces.erase(std::remove(pieces.begin(), pieces.end(), std::string()), pieces.end());
    if (pieces.size() <= 1) return text;

    path.push_back(word);
    std::string result = "/";
    for (const std::string& piece : pieces) {
        const bool onPath = std::find(path.begin(), path.end(), piece) != path.end();
        std::string t = !onPath && findWord(piece) ? expandEntry(piece, path) : piece;
        if (!t.empty() && t[0] == '/') t.erase(0, 1);
        if (!t.empty()) result += " " + t;
    }
    path.pop_back();
    return result;
}
