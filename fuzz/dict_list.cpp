// Lines of the dictionary's text lists ("zh_list", with an empty
// "zh_listx" beside it): read at a start without "zh.dict", which is then
// compiled for the next start.
#include <filesystem>

#include "support/DictRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string list = hvfuzz::writeScratchFile("dict_list/zh_list", data, size);
    const std::string folder = std::filesystem::path(list).parent_path().string();
    hvfuzz::writeScratchFile("dict_list/zh_listx", "");
    std::filesystem::remove(folder + "/zh.dict");

    static ChCharacterDict dict(CString::fromUtf8(folder), hvfuzz::nullLog());
    if (dict.load() != 0) hvfuzz::fail("readable lists refused");
    hvfuzz::lookUpInput(dict, data, size);
    // The next start reads the compiled file written from the lists.
    static ChCharacterDict nextStart(CString::fromUtf8(folder), hvfuzz::nullLog());
    if (nextStart.load() != 0) hvfuzz::fail("the compiled lists do not load");
    hvfuzz::compiledRoundTrip(nextStart, folder);
    return 0;
}
