#include "voicebank/package/PackageRecord.h"

#include <algorithm>
#include <cstdint>

#include "dsp/LittleEndian.h"

namespace Halvoren {

namespace {
// Unread bytes of a seekable stream, or -1 when the stream cannot tell.
std::int64_t bytesLeft(std::istream& file) {
    const std::istream::pos_type here = file.tellg();
    if (here == std::istream::pos_type(-1)) return -1;
    file.seekg(0, std::ios::end);
    const std::istream::pos_type end = file.tellg();
    file.seekg(here);
    if (end == std::istream::pos_type(-1) || !file) return -1;
    return std::max<std::int64_t>(0, std::int64_t(end - here));
}

// Chunk size when the stream cannot tell how much it holds; later chunks
// double, so storage stays within twice what was actually read.
constexpr std::uint32_t kFirstChunk = 65536;
}  // namespace

void readRecord(std::istream& file, CMemoryBuffer& buffer) {
    unsigned char lengthBytes[4];
    if (!file.read(reinterpret_cast<char*>(lengthBytes), 4)) return;
    const std::int32_t length = std::int32_t(littleEndian32(lengthBytes));
    if (length < 1) return;

    FIFOSampleBufferTemplate<char>& bytes = buffer.bytes();
    bytes.clear();
    const std::int64_t left = bytesLeft(file);
    const std::uint32_t limit = std::uint32_t(left >= 0 ? std::min<std::int64_t>(length, left) : length);
    const std::uint32_t step = left >= 0 ? limit : kFirstChunk;
    std::uint32_t have = 0;
    while (have < limit) {
        const std::uint32_t want = std::min(limit - have, std::max(step, have));
        bytes.ensureCapacity(have + want);
        file.read(bytes.ptrBegin() + have, want);
        const auto got = std::uint32_t(file.gcount());
        bytes.putSamples(got);
        have += got;
        if (got < want) return;
    }
    if (have < std::uint32_t(length)) {
        // The file ends inside the record: let the caller see the end.
        file.setstate(std::ios::eofbit | std::ios::failbit);
    }
}

}  // namespace Halvoren
