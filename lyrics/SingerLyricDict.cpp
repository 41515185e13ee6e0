#include "lyrics/SingerLyricDict.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "platform/FileUtil.h"
#include "platform/JsonFile.h"
#include "platform/StringUtil.h"

namespace {
// A bank's text dictionary holds a line per word: a few hundred kilobytes.
constexpr uint64_t kMaxTextDictBytes = uint64_t{8} << 20;
}  // namespace

CSingerLyricDict::CSingerLyricDict() : dictionary(Json::objectValue) {}

CSingerLyricDict::~CSingerLyricDict() = default;

bool CSingerLyricDict::loadTxt(const CString& path) {
    std::string text;
    if (!readWholeFile(path, text, kMaxTextDictBytes)) return false;
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
    matcher.build({});
    Json::Value loaded;
    if (!loadJsonFile(path, loaded) || !loaded.isObject()) return false;
    for (auto it = loaded.begin(); it != loaded.end(); ++it) {
        if (it->isString()) dictionary[it.name()] = *it;
    }
    updateMaxKeyLen();
    return true;
}

void CSingerLyricDict::updateMaxKeyLen() {
    std::vector<std::string> words;
    size_t longest = 0;
    for (std::string& name : dictionary.getMemberNames()) {
        // An empty word, or one without symbols, matches nothing.
        if (name.empty() || !findWord(name)) continue;
        longest = std::max(longest, name.size());
        words.push_back(std::move(name));
    }
    matcher.build(words);
    maxKeyLen = static_cast<int>(std::min<size_t>(longest, INT_MAX));
}

// The state of one expandEntry call: the nested words already expanded, the
// words being expanded, and what is left of the length allowance. Every piece
// taken into an expansion uses its bytes and one for its blank, so both the
// text built and the pieces walked stay bounded.
struct CSingerLyricDict::Expansion {
    std::unordered_map<std::string, std::string> done;
    std::vector<std::string> path;
    size_t allowance = kMaxExpansionLength;
    bool exceeded = false;

    bool use(size_t bytes) {
        if (bytes > allowance) exceeded = true;
        else allowance -= bytes;
        return !exceeded;
    }
};

const Json::Value* CSingerLyricDict::findWord(std::string_view word) const {
    // find() on the const value: indexing would insert a null member.
    const Json::Value* value = dictionary.find(word.data(), word.data() + word.size());
    return value && !value->isNull() ? value : nullptr;
}

void CSingerLyricDict::lookup(const std::string& text, std::vector<std::string>& words,
                              std::vector<std::string>& symbols) {
    words.clear();
    symbols.clear();
    const std::vector<uint32_t> longest = matcher.longestAt(text);
    size_t p = 0;
    while (p < text.size()) {
        const size_t len = longest[p];
        if (len == 0) {
            ++p;
            continue;
        }
        words.push_back(text.substr(p, len));
        symbols.push_back(expandEntry(words.back()));
        p += len;
    }
}

std::string CSingerLyricDict::expandEntry(const std::string& word) const {
    Expansion state;
    std::string result = expand(word, state);
    return state.exceeded ? word : result;
}

std::string CSingerLyricDict::expand(const std::string& word, Expansion& state) const {
    const Json::Value* value = findWord(word);
    const std::string text = value && value->isString() ? value->asString() : std::string();

    std::vector<std::string> pieces;
    splitStr(pieces, text, " ");
    pieces.erase(std::remove(pieces.begin(), pieces.end(), std::string()), pieces.end());
    if (pieces.size() <= 1) return text;
    if (state.path.size() >= kMaxExpansionDepth) {
        state.exceeded = true;
        return word;
    }

    state.path.push_back(word);
    std::string result = "/";
    for (const std::string& piece : pieces) {
        std::string t = piece;
        const bool onPath = std::find(state.path.begin(), state.path.end(), piece) != state.path.end();
        if (!onPath && findWord(piece)) {
            auto known = state.done.find(piece);
            if (known == state.done.end()) {
                std::string expanded = expand(piece, state);
                if (state.exceeded) break;
                known = state.done.emplace(piece, std::move(expanded)).first;
            }
            t = known->second;
        }
        if (!t.empty() && t[0] == '/') t.erase(0, 1);
        if (!state.use(t.size() + 1)) break;
        if (!t.empty()) result += " " + t;
    }
    state.path.pop_back();
    return result;
}
