#pragma once
// Base of every object stored as JSON text (settings, presets, singer
// descriptions). A key missing from the text keeps the object's default.
#include <json/json.h>

#include <string>

class JsonInfo {
public:
    virtual ~JsonInfo() = default;
    // Fills the cached value through toJson and returns it as styled text.
    virtual std::string toString();
    virtual void toJson(Json::Value& out) const = 0;
    // Parses text and hands it to fromJson; false when the text is not JSON
    // or fromJson refuses it.
    virtual bool fromString(const std::string& text);
    virtual bool fromJson(const Json::Value& in) = 0;

protected:
    Json::Value cached_;
};

// Readers that keep the default when a key is missing or has the wrong type.
void readJsonBool(const Json::Value& in, const char* key, bool& field);
void readJsonInt(const Json::Value& in, const char* key, int& field);
void readJsonString(const Json::Value& in, const char* key, std::string& field);
