#include "render/export/Mp3Encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kStereoChunkBytes = 32768;
constexpr std::size_t kMonoChunkBytes = 16384;
// The encoder's own bound for one call: 1.25 bytes per sample plus 7200.
constexpr std::size_t kOutBytes = kStereoChunkBytes / 2 * 5 / 4 + 7200;
// The largest MPEG-1 layer III frame (320 kbit/s at 32000 Hz, padded) is 1441
// bytes; the tag frame is one frame.
constexpr std::size_t kTagFrameBytes = 2880;

// Writes an encoder result; a negative one is an encoder error.
bool writeEncoded(std::FILE* f, const unsigned char* bytes, int count)
{
    if (count < 0) return false;
    return count == 0 || std::fwrite(bytes, 1, static_cast<std::size_t>(count), f) == static_cast<std::size_t>(count);
}

}  // namespace

void Mp3Encoder::Closer::operator()(lame_global_struct* gf) const { lame_close(gf); }

Mp3Encoder::Mp3Encoder() = default;
Mp3Encoder::~Mp3Encoder() = default;

bool Mp3Encoder::begin(std::FILE* file, int channels)
{
    if (file == nullptr || (channels != 1 && channels != 2)) return false;
    gf_.reset(lame_init());
    if (!gf_) return false;
    lame_set_in_samplerate(gf_.get(), 44100);
    lame_set_brate(gf_.get(), 192);
    lame_set_num_channels(gf_.get(), channels);
    if (channels == 1) lame_set_mode(gf_.get(), MONO);
    lame_set_VBR(gf_.get(), vbr_off);
    if (lame_init_params(gf_.get()) < 0) {
        gf_.reset();
        return false;
    }
    file_ = file;
    channels_ = channels;
    staging_.assign((channels == 1 ? kMonoChunkBytes : kStereoChunkBytes) / sizeof(int16_t), 0);
    staged_ = 0;
    out_.assign(kOutBytes, 0);
    return true;
}

bool Mp3Encoder::encodeStaged()
{
    if (staged_ == 0) return true;
    const int frames = static_cast<int>(staged_ / static_cast<std::size_t>(channels_));
    const int outSize = static_cast<int>(out_.size());
    const int got = channels_ == 1
                        ? lame_encode_buffer(gf_.get(), staging_.data(), nullptr, frames, out_.data(), outSize)
                        : lame_encode_buffer_interleaved(gf_.get(), staging_.data(), frames, out_.data(), outSize);
    staged_ = 0;
    return writeEncoded(file_, out_.data(), got);
}

bool Mp3Encoder::encode(const int16_t* samples, std::size_t frames)
{
    if (!gf_) return false;
    std::size_t left = frames * static_cast<std::size_t>(channels_);
    while (left > 0) {
        const std::size_t n = std::min(left, staging_.size() - staged_);
        std::memcpy(staging_.data() + staged_, samples, n * sizeof(int16_t));
        samples += n;
        left -= n;
        staged_ += n;
        if (staged_ == staging_.size() && !encodeStaged()) return false;
    }
    return true;
}

bool Mp3Encoder::finish()
{
    if (!gf_ || !encodeStaged()) return false;
    const int outSize = static_cast<int>(out_.size());
    if (!writeEncoded(file_, out_.data(), lame_encode_flush(gf_.get(), out_.data(), outSize))) return false;
    // The encoder opens the stream with a placeholder frame and fills it only
    // at the end.
    unsigned char tag[kTagFrameBytes];
    const std::size_t n = lame_get_lametag_frame(gf_.get(), tag, sizeof tag);
    gf_.reset();
    if (n == 0) return true;  // nothing to fill in
    if (n > sizeof tag) return false;
    return std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(tag, 1, n, file_) == n &&
           std::fseek(file_, 0, SEEK_END) == 0;
}
