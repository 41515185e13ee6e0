#include "render/export/Mp3FileWriter.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/FileUtil.h"

namespace {

constexpr size_t kStereoChunkBytes = 32768;
constexpr size_t kMonoChunkBytes = 16384;
// The encoder's own bound for one call: 1.25 bytes per sample plus 7200.
constexpr size_t kOutBytes = kStereoChunkBytes / 2 * 5 / 4 + 7200;
// The largest MPEG-1 layer III frame (320 kbit/s at 32000 Hz, padded) is 1441
// bytes; the tag frame is one frame.
constexpr size_t kTagFrameBytes = 2880;

struct LameCloser {
    void operator()(lame_global_flags* gf) const { lame_close(gf); }
};
using LamePtr = std::unique_ptr<lame_global_flags, LameCloser>;

LamePtr makeEncoder(int channels) {
    LamePtr gf(lame_init());
    if (!gf) return nullptr;
    lame_set_in_samplerate(gf.get(), 44100);
    lame_set_brate(gf.get(), 192);
    lame_set_num_channels(gf.get(), channels);
    if (channels == 1) lame_set_mode(gf.get(), MONO);
    lame_set_VBR(gf.get(), vbr_off);
    if (lame_init_params(gf.get()) < 0) return nullptr;
    return gf;
}

// Writes an encoder result; a negative one is an encoder error.
bool writeEncoded(FILE* f, const unsigned char* bytes, int count) {
    if (count < 0) return false;
    return count == 0 || std::fwrite(bytes, 1, static_cast<size_t>(count), f) == static_cast<size_t>(count);
}

// The encoder opens the stream with a placeholder frame and fills it only at
// the end: its tag holds the frame count, the encoder delay and the padding,
// from which decoders give back exactly the input length.
bool writeTagFrame(FILE* f, lame_global_flags* gf) {
    unsigned char tag[kTagFrameBytes];
    const size_t n = lame_get_lametag_frame(gf, tag, sizeof tag);
    if (n == 0 || n > sizeof tag) return n == 0;  // nothing to fill in
    return std::fseek(f, 0, SEEK_SET) == 0 && std::fwrite(tag, 1, n, f) == n;
}

}  // namespace

int writeMp3File(const CString& path, size_t dataBytes, int channels, const int16_t* data) {
    if ((channels != 1 && channels != 2) || (dataBytes > 0 && !data)) return 1;
    FILE* raw = openFile(path, "wb");
    if (!raw) return 1;
    FilePtr file(raw);

    LamePtr gf = makeEncoder(channels);
    if (!gf) return 1;
    std::vector<short> staging(kStereoChunkBytes / sizeof(short));
    std::vector<unsigned char> out(kOutBytes);
    const int outSize = static_cast<int>(out.size());
    const size_t chunk = channels == 1 ? kMonoChunkBytes : kStereoChunkBytes;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);

    bool ok = true;
    size_t pos = 0;
    size_t n = 0;
    do {
        n = std::min(chunk, dataBytes - pos);
        if (n > 0) {
            std::memcpy(staging.data(), bytes + pos, n);
            pos += n;
            const int frames = static_cast<int>(n / 2 / static_cast<size_t>(channels));
            const int got = channels == 1
                                ? lame_encode_buffer(gf.get(), staging.data(), nullptr, frames, out.data(), outSize)
                                : lame_encode_buffer_interleaved(gf.get(), staging.data(), frames, out.data(), outSize);
            ok = writeEncoded(file.get(), out.data(), got);
        }
    } while (ok && n == chunk);

    if (ok) ok = writeEncoded(file.get(), out.data(), lame_encode_flush(gf.get(), out.data(), outSize));
    if (ok) ok = writeTagFrame(file.get(), gf.get());
    gf.reset();
    if (std::fclose(file.release()) != 0) ok = false;
    return ok ? 0 : 1;
}
