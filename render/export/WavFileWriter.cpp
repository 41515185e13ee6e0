#include "render/export/WavFileWriter.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/FileUtil.h"

namespace {

constexpr uint32_t kRate = 44100;
constexpr uint16_t kMaxChannels = UINT16_MAX / 2;

void putLE(unsigned char* at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<unsigned char>(v >> (8 * i));
}

void putTag(unsigned char* at, const char* tag) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(tag[i]);
}

int fail(const CString& path) {
    std::fprintf(stderr, "fail to write wav file:%s\n", path.toPathBytes().c_str());
    std::fflush(stderr);
    return 1;
}

}  // namespace

bool makeWavHeader(uint16_t channels, size_t dataBytes, unsigned char (&h)[kWavHeaderBytes]) {
    // A frame of no channels, or one whose 16-bit block size overflows,
    // describes a file no reader can play.
    if (channels == 0 || channels > kMaxChannels) return false;
    if (dataBytes > UINT32_MAX - (kWavHeaderBytes - 8)) return false;
    const auto size = static_cast<uint32_t>(dataBytes);
    putTag(h, "RIFF");
    putLE(h + 4, size + 36, 4);
    putTag(h + 8, "WAVE");
    putTag(h + 12, "fmt ");
    putLE(h + 16, 16, 4);
    putLE(h + 20, 1, 2);
    putLE(h + 22, channels, 2);
    putLE(h + 24, kRate, 4);
    putLE(h + 28, channels * kRate * 2, 4);
    putLE(h + 32, channels * 2u, 2);
    putLE(h + 34, 16, 2);
    putTag(h + 36, "data");
    putLE(h + 40, size, 4);
    return true;
}

int writeWavFile(const CString& path, uint16_t channels, size_t dataBytes, const int16_t* data) {
    static_assert(std::endian::native == std::endian::little, "samples are written as they lie in memory");
    unsigned char h[kWavHeaderBytes];
    if (!makeWavHeader(channels, dataBytes, h) || (dataBytes > 0 && !data)) return fail(path);

    FILE* f = openFile(path, "wb");
    if (!f) return fail(path);
    bool ok = std::fwrite(h, 1, kWavHeaderBytes, f) == kWavHeaderBytes;
    if (ok && dataBytes > 0) ok = std::fwrite(data, 1, dataBytes, f) == dataBytes;
    if (std::fclose(f) != 0) ok = false;
    return ok ? 0 : fail(path);
}
