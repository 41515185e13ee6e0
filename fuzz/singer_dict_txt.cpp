// A singer's text lyric dictionary ("*-dict.txt": word=symbols lines).
#include "support/SingerDictLookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSingerLyricDict dict;
    if (!dict.loadTxt(CString::fromUtf8(hvfuzz::writeScratchFile("input-dict.txt", data, size))))
        hvfuzz::fail("a written dictionary cannot be opened");
    hvfuzz::lookUpLyric(dict, data, size);
    return 0;
}
