// An accompaniment MP3 file, decoded through the feed loop.
#include "support/ClipLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    hvfuzz::loadClip("input.mp3", data, size);
    return 0;
}
