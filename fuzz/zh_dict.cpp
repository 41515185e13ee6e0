// The compiled character dictionary "zh.dict", loaded from its folder the
// way the editor does at start.
#include <filesystem>

#include "support/DictRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file = hvfuzz::writeScratchFile("zh_dict/zh.dict", data, size);
    const std::string folder = std::filesystem::path(file).parent_path().string();
    static ChCharacterDict dict(CString::fromUtf8(folder), hvfuzz::nullLog());
    // With no lists beside it, a damaged file keeps what it gave.
    dict.load();
    hvfuzz::lookUpInput(dict, data, size);
    hvfuzz::compiledRoundTrip(dict, folder);
    return 0;
}
