// A voice package of the banks of generation 2 (index and content file in
// one input, see PackageFiles.h).
#include "support/FuzzInput.h"
#include "support/PackageFiles.h"
#include "voicebank/v2/SourceStorePackager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const HalvorenEngineV2::SourceStorePackager package(hvfuzz::writePackageFiles(data, size), hvfuzz::nullLog());
    hvfuzz::loadEveryHprRecord(package);
    return 0;
}
