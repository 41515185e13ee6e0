// A VSQX score made into a new project; the project is then saved and read
// back.
#include "model/import/vsqx/VsqxImport.h"
#include "support/ProjectRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = hvfuzz::writeScratchFile("input.vsqx", data, size);
    const auto model = loadVsqx(CString::fromUtf8(path), "Ann");
    if (model) hvfuzz::saveAndReopen(*model);
    return 0;
}
