#pragma once
#include <json/json.h>

#include <cstdint>

#include "platform/CString.h"
#include "platform/ReadBudget.h"

// The JSON files read whole (settings, registry, language tables, singer
// dictionaries) hold a few kilobytes to a few megabytes.
inline constexpr uint64_t kMaxJsonFileBytes = uint64_t{8} << 20;

// False when the file cannot be read (see readWholeFile: regular files of at
// most kMaxJsonFileBytes only); otherwise parses the whole file into out and
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
