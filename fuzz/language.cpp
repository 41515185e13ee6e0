// A UI language table: every text the program shows is looked up in it.
#include "shell/services/LanguageMgr.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CLanguageMgr mgr;
    mgr.loadLanguageFile(CString::fromUtf8(hvfuzz::writeScratchFile("input.lang", data, size)));
    for (const auto& [key, english] : builtinLanguageTable()) {
        if (mgr.translate(key).isEmpty() && !english.empty()) hvfuzz::fail("a built-in text went missing");
    }
    return 0;
}
