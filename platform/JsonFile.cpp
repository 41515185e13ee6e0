#include "platform/JsonFile.h"

#include <memory>

#include "platform/FileUtil.h"

namespace {

// Counts every value the text would build against a budget for its size:
// each value but the first is opened by "[", "{" or ",", outside strings.
// Strings are copied into their values, so the text's bytes count too.
bool withinBudget(const std::string& text, const ReadLimits& limits) {
    ReadBudget budget(text.size(), limits);
    if (!budget.takeRecord(kJsonValueBytes + text.size())) return false;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if ((c == '[' || c == '{' || c == ',') && !budget.takeRecord(kJsonValueBytes)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool parseJson(const std::string& text, Json::Value& out, const ReadLimits& limits) {
    out = Json::Value();
    if (!withinBudget(text, limits)) return false;
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    out = Json::Value();
    bool parsed = false;
    try {
        parsed = reader->parse(text.data(), text.data() + text.size(), &out, &errors);
    } catch (const Json::Exception&) {
        // Nesting deeper than the reader's stack limit is thrown, not reported.
    }
    if (!parsed) out = Json::Value();
    return parsed;
}

bool loadJsonFile(const CString& path, Json::Value& out) {
    std::string text;
    if (!readWholeFile(path, text, kMaxJsonFileBytes)) return false;
    return parseJson(text, out);
}
