#pragma once
// The character dictionary targets' common checks: the loaded dictionary
// answers lookups, and its compiled form written and read back gives the
// same bytes again (a dictionary that changes on its way through "zh.dict"
// has lost or corrupted readings).
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "lyrics/ChCharacterDict.h"
#include "support/FuzzInput.h"

namespace hvfuzz {

inline std::string fileBytes(const std::string& path)
{
    std::string out;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, n);
        std::fclose(f);
    }
    return out;
}

// Looks up the input read as 16-bit characters (the compiled file's own
// unit, so phrases stored in it come up whole) and as UTF-8 text.
inline void lookUpInput(const ChCharacterDict& dict, const uint8_t* data, size_t size)
{
    std::vector<std::uint32_t> units;
    for (size_t i = 0; i + 1 < size; i += 2) units.push_back(data[i] | std::uint32_t(data[i + 1]) << 8);
    if (dict.lookupText(units).size() != units.size()) fail("one reading per character");
    dict.lookup(std::string(reinterpret_cast<const char*>(data), size));
}

// Writes dict compiled, reads that file into another dictionary through its
// folder ("reread" below folder) and writes that one too: both files must be
// equal. The dictionaries live on between inputs (a load starts by
// emptying them), as their table is large to make.
inline void compiledRoundTrip(ChCharacterDict& dict, const std::string& folder)
{
    const std::string rereadFolder = folder + "/reread";
    static ChCharacterDict reread(CString::fromUtf8(rereadFolder), nullLog());
    const std::string first = rereadFolder + "/zh.dict";
    const std::string second = folder + "/second.dict";
    std::filesystem::create_directories(rereadFolder);
    if (dict.saveCompiled(CString::fromUtf8(first)) != 0) fail("compiled dictionary not written");
    if (reread.load() != 0) fail("written dictionary does not read back");
    if (reread.saveCompiled(CString::fromUtf8(second)) != 0) fail("compiled dictionary not written again");
    if (fileBytes(first) != fileBytes(second)) fail("a compiled dictionary reads back differently");
}

}  // namespace hvfuzz
