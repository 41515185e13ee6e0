// Any JSON file (settings, language tables, the registry file, bank
// descriptions and lyric dictionaries share this parser). What it parses is
// written out the way the program writes its JSON files and must parse
// again.
#include "platform/JsonFile.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Json::Value value;
    if (!loadJsonFile(CString::fromUtf8(hvfuzz::writeScratchFile("input.json", data, size)), value)) return 0;
    Json::Value again;
    if (!parseJson(value.toStyledString(), again)) hvfuzz::fail("written JSON does not parse");
    return 0;
}
