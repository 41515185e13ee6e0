// The registry file: read at start, the singers it lists loaded from the
// descriptions it names.
#include <string>

#include "platform/Registry.h"
#include "support/FuzzInput.h"
#include "voicebank/SingerMgr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    setRegistryFileOverride(CString::fromUtf8(hvfuzz::writeScratchFile("registry.json", data, size)));
    SingerMgr singers;
    singers.loadFromRegistry();
    const Registry registry = Registry::load(getRegistryFile());
    for (const std::string& name : registry.getSubkeyNames(""))
        if (!registry.hasKey(name)) hvfuzz::fail("a listed key is missing");
    return 0;
}
