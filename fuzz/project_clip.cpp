// A project beside an accompaniment clip: the file after its "HALVOREN" tag,
// as for the project target, with "clip.wav" (a quarter second of stereo
// 16-bit samples at 22050 Hz) in the project's folder, so that every
// instrumental segment naming a file of that name, in any folder, loads it.
#include <cstring>

#include "support/ProjectRoundTrip.h"

namespace {

void put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string clipWav()
{
    constexpr uint32_t kFrames = 22050 / 4;
    std::string data;
    for (uint32_t f = 0; f < kFrames; ++f) put32(data, (f * 37u) | ((f * 91u) << 16));
    std::string wav = "RIFF";
    put32(wav, 36 + uint32_t(data.size()));
    wav += "WAVEfmt ";
    put32(wav, 16);
    put32(wav, 1 | (2u << 16));  // integer samples, two channels
    put32(wav, 22050);
    put32(wav, 22050 * 4);
    put32(wav, 4 | (16u << 16));  // 4-byte frames of 16-bit samples
    wav += "data";
    put32(wav, uint32_t(data.size()));
    return wav + data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string clip = hvfuzz::writeScratchFile("clip.wav", clipWav());
    std::string file = "HALVOREN";
    file.append(reinterpret_cast<const char*>(data), size);
    hvfuzz::openSaveAndReopen(file);
    return 0;
}
