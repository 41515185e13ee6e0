#include "shell/services/JsonInfo.h"

#include "platform/JsonFile.h"

std::string JsonInfo::toString() {
    cached_ = Json::Value(Json::objectValue);
    toJson(cached_);
    return cached_.toStyledString();
}

bool JsonInfo::fromString(const std::string& text) {
    Json::Value value;
    if (!parseJson(text, value)) return false;
    return fromJson(value);
}

void readJsonBool(const Json::Value& in, const char* key, bool& field) {
    if (in.isObject() && in.isMember(key) && in[key].isBool()) field = in[key].asBool();
}

void readJsonInt(const Json::Value& in, const char* key, int& field) {
    if (in.isObject() && in.isMember(key) && in[key].isInt()) field = in[key].asInt();
}

void readJsonString(const Json::Value& in, const char* key, std::string& field) {
    if (in.isObject() && in.isMember(key) && in[key].isString()) field = in[key].asString();
}
