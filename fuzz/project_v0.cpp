// A generation-0 project file as it stands (it has no tag): body length and
// body, read and upgraded through generation 1 to the current model.
#include "support/ProjectRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    hvfuzz::openSaveAndReopen(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
