// A bank's ".hvsd" description: the singer it makes is listed, found by
// name and asked for its lyric dictionary.
#include <string>
#include <vector>

#include "lyrics/ILyricDict.h"
#include "support/FuzzInput.h"
#include "voicebank/ISinger.h"
#include "voicebank/SingerMgr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = hvfuzz::writeScratchFile("bank/input.hvsd", data, size);
    SingerMgr singers;
    std::string name;
    singers.loadSinger(CString::fromUtf8(path), name);
    if (name.empty()) return 0;
    ISinger* singer = singers.findSinger(name);
    if (!singer) hvfuzz::fail("a listed singer is not found by its name");
    std::vector<std::string> words, symbols;
    singer->getLyricDict()->lookup("la", words, symbols);
    singer->getNamePrefix();
    singer->getNameSuffix();
    return 0;
}
