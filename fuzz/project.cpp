// The project file after its "HALVOREN" tag: version, body length and body.
// Versions 2 to 5 take the current reader, 1 the generation-1 one, newer
// ones are refused.
#include "support/ProjectRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string file = "HALVOREN";
    file.append(reinterpret_cast<const char*>(data), size);
    hvfuzz::openSaveAndReopen(file);
    return 0;
}
