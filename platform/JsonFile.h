#pragma once
#include <json/json.h>

#include "platform/CString.h"

// False when the file cannot be read (see readWholeFile: regular files under
// kMaxWholeFileBytes only); otherwise parses the whole file into out and
// returns whether it parsed.
bool loadJsonFile(const CString& path, Json::Value& out);
// Parses text; false (out null) when it is not JSON, including JSON nested
// deeper than the reader's limit of 1000 levels.
bool parseJson(const std::string& text, Json::Value& out);
