#pragma once
#include <json/json.h>

#include "platform/CString.h"
#include "platform/ReadBudget.h"

// False when the file cannot be read (see readWholeFile: regular files under
// kMaxWholeFileBytes only); otherwise parses the whole file into out and
// returns whether it parsed.
bool loadJsonFile(const CString& path, Json::Value& out);
// Parses text; false (out null) when it is not JSON, including JSON nested
// deeper than the reader's limit of 1000 levels, or JSON whose values would
// pass the total a file of its size may build (a ReadBudget with the given
// limits, each value counted as kJsonValueBytes).
bool parseJson(const std::string& text, Json::Value& out, const ReadLimits& limits = ReadLimits());

// What one parsed value (or object member) takes in memory, its node in
// its container included.
inline constexpr std::uint64_t kJsonValueBytes = 128;
