#include "model/audio/WavFileReader.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>

#include "platform/FileUtil.h"

namespace {

constexpr size_t kReadBlock = 65536;

}  // namespace

bool WavFileReader::read(const CString& path, const ReadLimits& limits, const ClipLimits& clip)
{
    open(path, limits, clip);
    const bool ok = readRiffHeader() && findFmtChunk() && readFmtChunk() && findDataChunk() && readData();
    close();
    return ok;
}

void WavFileReader::open(const CString& path, const ReadLimits& limits, const ClipLimits& clip)
{
    wavBuf.fifo.clear();
    clipLimits = clip;
    refusedForSize = false;
    stream.reset(openFile(path, "rb"));
    const auto size = stream ? bytesLeftInFile(stream.get()) : std::nullopt;
    budget = ReadBudget(size.value_or(0), limits);
    fmtOk = riffOk = fmtFound = dataRead = dataFound = false;
}

ByteCursor WavFileReader::next(size_t n)
{
    const size_t got = stream ? std::fread(head, 1, std::min(n, kHeadBytes), stream.get()) : 0;
    return ByteCursor(head, got);
}

bool WavFileReader::skip(uint64_t n)
{
    return stream && fseeko(stream.get(), static_cast<off_t>(n), SEEK_CUR) == 0;
}

bool WavFileReader::readRiffHeader()
{
    ByteCursor in = next(12);
    uint32_t riffSize = 0;
    if (!in.tag("RIFF", 4) || !in.u32(riffSize) || static_cast<int32_t>(riffSize) <= 0 || !in.tag("WAVE", 4)) {
        close();
        return false;
    }
    riffOk = true;
    return true;
}

bool WavFileReader::findChunk(const char* id, uint32_t& size)
{
    // Every pass consumes at least the 8 header bytes, and reading past the
    // end of the file fails, so the walk always ends; the budget ends it
    // within a bounded number of chunks as well.
    while (budget.takeRecord()) {
        ByteCursor in = next(8);
        char tag[4];
        if (!in.bytes(tag, 4) || !in.u32(size)) return false;
        if (std::memcmp(tag, id, 4) == 0) return true;
        if (!skip(uint64_t(size) + (size & 1u))) return false;
    }
    return false;
}

bool WavFileReader::findFmtChunk()
{
    if (!findChunk("fmt ", fmtSize)) return false;
    fmtFound = true;
    return true;
}

bool WavFileReader::formatIsUsable() const
{
    // A rate of 0 or one that does not fit a signed 32-bit value, no
    // channels, more channels than the players take, or samples narrower
    // than a bit cannot be played.
    return fmtSampleRate > 0 && fmtSampleRate <= uint32_t(INT32_MAX) && (fmtChannels == 1 || fmtChannels == 2) &&
           fmtBitsPerSample > 0;
}

bool WavFileReader::readFmtChunk()
{
    ByteCursor in = next(16);
    uint16_t tag = 0;
    if (!in.u16(tag) || (tag != 1 && tag != 3)) {
        close();
        return false;
    }
    floatFormat = tag == 3;
    if (!in.u16(fmtChannels) || !in.u32(fmtSampleRate) || !in.u32(fmtByteRate) || !in.u16(fmtBlockAlign) ||
        !in.u16(fmtBitsPerSample))
        return false;
    if (fmtSize < 16 || !formatIsUsable()) return false;
    // The rest of a longer fmt chunk (and its pad byte) is not needed.
    if (!skip(uint64_t(fmtSize - 16) + (fmtSize & 1u))) return false;
    fmtOk = true;
    return true;
}

bool WavFileReader::findDataChunk()
{
    if (!findChunk("data", dataSize)) return false;
    if (static_cast<int32_t>(dataSize) <= 0) {
        close();
        return false;
    }
    dataFound = true;
    return true;
}

bool WavFileReader::readData()
{
    // Samples occupy whole bytes: 12-bit samples sit in 2-byte containers,
    // 20-bit ones in 3-byte containers.
    wavBuf.bytesPerSample = (fmtBitsPerSample + 7) / 8;
    wavBuf.channels = fmtChannels;
    wavBuf.sampleRate = static_cast<int32_t>(fmtSampleRate);
    wavBuf.isFloat = floatFormat && (wavBuf.bytesPerSample == 4 || wavBuf.bytesPerSample == 8);
    wavBuf.fifo.clear();

    // The declared size is not trusted: room is made only for the bytes the
    // file still holds, and only the bytes actually read are kept.
    std::FILE* f = stream.get();
    uint64_t expected = dataSize;
    if (const auto left = bytesLeftInFile(f)) expected = std::min<uint64_t>(expected, *left);
    if (!clipLimits.allow(expected, wavBuf.bytesPerSample, wavBuf.channels, wavBuf.sampleRate)) {
        refusedForSize = true;
        return false;
    }
    wavBuf.fifo.ensureCapacity(static_cast<uint32_t>(expected));

    unsigned char block[kReadBlock];
    uint64_t left = dataSize;
    while (left > 0) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(left, kReadBlock));
        const size_t got = std::fread(block, 1, want, f);
        wavBuf.fifo.putSamples(block, static_cast<uint32_t>(got));
        left -= got;
        if (got < want) break;
    }
    // A frame cut by the end of the file is dropped; with no whole frame
    // there is no clip.
    const uint32_t frameBytes = uint32_t(wavBuf.bytesPerSample) * fmtChannels;
    const uint32_t have = wavBuf.fifo.numSamples();
    wavBuf.fifo.clear();
    wavBuf.fifo.putSamples(have - have % frameBytes);  // the bytes stay in place
    if (wavBuf.fifo.isEmpty()) return false;
    dataRead = true;
    return true;
}
