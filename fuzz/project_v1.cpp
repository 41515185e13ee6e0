// A generation-1 project file after its tag and version: body length and
// body, read and upgraded to the current model.
#include "support/ProjectRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string file("HALVOREN\x01\x00\x00\x00", 12);
    file.append(reinterpret_cast<const char*>(data), size);
    hvfuzz::openSaveAndReopen(file);
    return 0;
}
