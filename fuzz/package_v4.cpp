// A voice package of the banks of generation 4 (index and content file in
// one input, see PackageFiles.h).
#include "support/FuzzInput.h"
#include "support/PackageFiles.h"
#include "voicebank/v4/SourceStorePackager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const HalvorenEngineV4::SourceStorePackager package(hvfuzz::writePackageFiles(data, size), hvfuzz::nullLog());
    hvfuzz::loadEveryRecord(package, package.index().unitIndex);
    return 0;
}
