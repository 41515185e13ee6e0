#include "voicebank/package/PackageRecord.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/FileUtil.h"
#include "platform/LittleEndian.h"

namespace Halvoren {

bool readRecord(FILE* file, CMemoryBuffer& buffer) {
    unsigned char lengthBytes[4];
    if (std::fread(lengthBytes, 1, 4, file) != 4) return false;
    const std::int32_t length = std::int32_t(littleEndian32(lengthBytes));
    if (length < 1) return true;

    const std::optional<std::uint64_t> left = bytesLeftInFile(file);
    if (!left) return false;
    FIFOSampleBufferTemplate<char>& bytes = buffer.bytes();
    bytes.clear();
    const auto want = std::uint32_t(std::min<std::uint64_t>(std::uint64_t(length), *left));
    bytes.ensureCapacity(want);
    const auto got = std::uint32_t(std::fread(bytes.ptrBegin(), 1, want, file));
    bytes.putSamples(got);
    return got == std::uint32_t(length);
}

}  // namespace Halvoren
