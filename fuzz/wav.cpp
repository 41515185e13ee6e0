// An accompaniment WAV file (RIFF/WAVE, integer or float samples).
#include "support/ClipLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    hvfuzz::loadClip("input.wav", data, size);
    return 0;
}
