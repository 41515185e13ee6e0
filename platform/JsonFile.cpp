#include "platform/JsonFile.h"

#include <memory>

#include "platform/FileUtil.h"

bool parseJson(const std::string& text, Json::Value& out) {
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
