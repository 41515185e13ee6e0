#include "model/audio/Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
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
    FeedDecoder(mpg123_handle* mh, HalvorenEditor::CWavBuf& out, const ClipLimits& limits)
        : mh_(mh), out_(out), limits_(limits)
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
        if (formatTaken && done > 0 && !append(done)) return MPG123_ERR;
        return changed ? MPG123_DONE : ret;
    }

    bool formatTaken = false;
    bool tooLarge = false;

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
        // The decoder's estimate of the stream's length (exact for most
        // files) saves growing the buffer as the samples come.
        const off_t frames = mpg123_length(mh_);
        if (frames > 0) {
            const uint64_t most = HalvorenEditor::CWavBuf::kMaxBytes;
            reserve(std::min<uint64_t>(uint64_t(frames), most) * uint64_t(std::clamp(channels, 1, 2)) * 2, 0);
        }
    }

    bool announcedDiffers()
    {
        long rate = 0;
        int channels = 0, encoding = 0;
        return mpg123_getformat(mh_, &rate, &channels, &encoding) != MPG123_OK || rate != out_.sampleRate ||
               channels != out_.channels;
    }

    // Room for `wanted` bytes, of which `need` will hold samples: false when
    // not even `need` bytes fit the clip's limits. The room beyond the
    // samples stays within the spare bytes of the limits: a capacity between
    // need and wanted is taken when wanted does not fit.
    bool reserve(uint64_t wanted, uint64_t need)
    {
        const auto fits = [&](uint64_t capacity) {
            return capacity <= uint64_t(HalvorenEditor::CWavBuf::kMaxBytes) && limits_.allowRoom(capacity, need) &&
                   limits_.allow(capacity, 2, out_.channels, out_.sampleRate);
        };
        if (!fits(need)) return false;
        uint64_t lo = need, hi = std::max(need, wanted);
        while (lo < hi) {  // the largest capacity up to wanted that fits
            const uint64_t mid = lo + (hi - lo + 1) / 2;
            if (fits(mid))
                lo = mid;
            else
                hi = mid - 1;
        }
        if (lo > out_.fifo.getSizeInBytes()) out_.fifo.ensureCapacity(static_cast<uint32_t>(lo));
        return true;
    }

    // Appends the decoded bytes, the buffer growing by half its size at a
    // time so that a long clip is not copied once per growth step. False,
    // with tooLarge set, when the clip would pass the limits.
    bool append(size_t done)
    {
        const uint64_t need = uint64_t{out_.fifo.numSamples()} + done;
        if (!limits_.allow(need, 2, out_.channels, out_.sampleRate)) {
            tooLarge = true;
            return false;
        }
        const uint64_t capacity = out_.fifo.getSizeInBytes();
        if (need > capacity && !reserve(capacity + capacity / 2, need)) {
            tooLarge = true;
            return false;
        }
        out_.fifo.putSamples(pcm_, static_cast<uint32_t>(done));
        return true;
    }

    mpg123_handle* mh_;
    HalvorenEditor::CWavBuf& out_;
    ClipLimits limits_;
    unsigned char pcm_[kOutputBlock];
};

}  // namespace

bool decodeMp3File(const CString& path, HalvorenEditor::CWavBuf* out)
{
    FilePtr file(openFile(path, "rb"));
    const uint64_t fileBytes = file ? bytesLeftInFile(file.get()).value_or(0) : 0;
    file.reset();
    bool tooLarge = false;
    return decodeMp3File(path, out, ClipLimits::forFile(fileBytes, ClipLimits().clipBytes), tooLarge);
}

bool decodeMp3File(const CString& path, HalvorenEditor::CWavBuf* out, const ClipLimits& limits, bool& tooLarge)
{
    tooLarge = false;
    if (out == nullptr) return false;
    FilePtr file(openFile(path, "rb"));
    if (!file) return false;

    mpg123_init();
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (mh == nullptr) {
        mpg123_exit();
        return false;
    }
    // The decoder's own notes (ID3 versions, a Xing size that is off) are
    // nothing a user can act on: it says nothing on stderr.
    mpg123_param(mh, MPG123_VERBOSE, 0, 0.0);
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    acceptSigned16Only(mh);
    mpg123_open_feed(mh);
    std::FILE* f = file.get();
    // The file's size lets the decoder estimate the stream's length.
    if (const auto size = bytesLeftInFile(f)) mpg123_set_filesize(mh, static_cast<off_t>(*size));

    auto decoder = std::make_unique<FeedDecoder>(mh, *out, limits);
    const bool ok = runMp3FeedLoop(
        [f](unsigned char* buffer, size_t capacity) { return std::fread(buffer, 1, capacity, f); },
        [f] { return std::feof(f) || std::ferror(f); },
        [&decoder](const unsigned char* input, size_t size) { return decoder->decode(input, size); }, kInputBlock);

    mpg123_delete(mh);
    mpg123_exit();
    tooLarge = decoder->tooLarge;
    return decoder->formatTaken && ok;
}
