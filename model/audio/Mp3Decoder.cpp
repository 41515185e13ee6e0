#include "model/audio/Mp3Decoder.h"

#include <mpg123.h>

#include <cstdio>
#include <memory>

#include "model/audio/Mp3FeedLoop.h"
#include "platform/FileUtil.h"

namespace {

constexpr size_t kInputBlock = 16384;
constexpr size_t kOutputBlock = 32768;

// Only signed 16-bit output is accepted, at every rate and channel count the
// decoder offers, so the samples always match the buffer's format.
void acceptSigned16Only(mpg123_handle* mh)
{
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t k = 0; k < count; ++k) mpg123_format(mh, rates[k], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
}

class FeedDecoder {
public:
    FeedDecoder(mpg123_handle* mh, HalvorenEditor::CWavBuf& out, uint64_t maxBytes)
        : mh_(mh), out_(out), maxBytes_(maxBytes)
    {
    }

    // Runs one decode call, takes the first announced format and appends the
    // decoded bytes; returns the decoder's code. A later format that differs
    // (streams of other rates or channel counts joined into one file) ends
    // the stream there: what was decoded before it, in this call too, is
    // kept, and DONE is returned.
    int decode(const unsigned char* in, size_t inSize)
    {
        size_t done = 0;
        const int ret = mpg123_decode(mh_, in, inSize, pcm_, kOutputBlock, &done);
        // Bytes handed out with a changed format were decoded before the
        // change, in the format already taken.
        const bool changed = ret == MPG123_NEW_FORMAT && formatTaken && announcedDiffers();
        if (ret == MPG123_NEW_FORMAT && !formatTaken) takeFormat();
        if (formatTaken && done > 0) {
            // Decoded samples never outgrow what their file may become.
            if (out_.fifo.numSamples() + uint64_t{done} > maxBytes_) return MPG123_ERR;
            out_.fifo.putSamples(pcm_, static_cast<uint32_t>(done));
        }
        return changed ? MPG123_DONE : ret;
    }

    bool formatTaken = false;

private:
    void takeFormat()
    {
        long rate = 0;
        int channels = 0, encoding = 0;
        if (mpg123_getformat(mh_, &rate, &channels, &encoding) != MPG123_OK) return;
        out_.channels = channels;
        out_.sampleRate = static_cast<int32_t>(rate);
        out_.bytesPerSample = 2;
        out_.isFloat = false;
        out_.fifo.clear();
        formatTaken = true;
    }

    bool announcedDiffers()
    {
        long rate = 0;
        int channels = 0, encoding = 0;
        return mpg123_getformat(mh_, &rate, &channels, &encoding) != MPG123_OK || rate != out_.sampleRate ||
               channels != out_.channels;
    }

    mpg123_handle* mh_;
    HalvorenEditor::CWavBuf& out_;
    uint64_t maxBytes_;
    unsigned char pcm_[kOutputBlock];
};

}  // namespace

bool decodeMp3File(const CString& path, HalvorenEditor::CWavBuf* out)
{
    if (out == nullptr) return false;
    FilePtr file(openFile(path, "rb"));
    if (!file) return false;

    mpg123_init();
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (mh == nullptr) {
        mpg123_exit();
        return false;
    }
    mpg123_param(mh, MPG123_VERBOSE, 2, 0.0);
    acceptSigned16Only(mh);
    mpg123_open_feed(mh);

    std::FILE* f = file.get();
    const uint64_t maxBytes = bytesLeftInFile(f).value_or(0) * HalvorenEditor::CWavBuf::kMaxBytesPerFileByte;
    auto decoder = std::make_unique<FeedDecoder>(mh, *out, maxBytes);
    const bool ok = runMp3FeedLoop(
        [f](unsigned char* buffer, size_t capacity) { return std::fread(buffer, 1, capacity, f); },
        [f] { return std::feof(f) || std::ferror(f); },
        [&decoder](const unsigned char* input, size_t size) { return decoder->decode(input, size); }, kInputBlock);

    mpg123_delete(mh);
    mpg123_exit();
    return decoder->formatTaken && ok;
}
