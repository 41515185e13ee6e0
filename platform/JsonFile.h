#pragma once
#include <json/json.h>

#include "platform/CString.h"

// False when the file cannot be opened; otherwise parses the whole file into
// out and returns whether it parsed.
bool loadJsonFile(const CString& path, Json::Value& out);
// Parses text; false (out null) when it is not JSON.
bool parseJson(const std::string& text, Json::Value& out);
