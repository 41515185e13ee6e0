// A voice package of the sixth-generation banks (index and content file in
// one input, see PackageFiles.h).
#include "support/FuzzInput.h"
#include "support/PackageFiles.h"
#include "voicebank/v6/SourceStorePackager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const HalvorenEngineV6::SourceStorePackager package(hvfuzz::writePackageFiles(data, size), hvfuzz::nullLog());
    hvfuzz::loadEveryRecord(package, package.getUnitIndex());
    return 0;
}
