// A singer's JSON lyric dictionary ("*.dict.txt": an object of word:
// symbols strings).
#include "support/SingerDictLookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSingerLyricDict dict;
    dict.loadJson(CString::fromUtf8(hvfuzz::writeScratchFile("input.dict.txt", data, size)));
    hvfuzz::lookUpLyric(dict, data, size);
    return 0;
}
