#include "voicebank/package/PackageRecord.h"

#include <optional>

#include "platform/FileUtil.h"
#include "platform/LittleEndian.h"

namespace Halvoren {

bool readRecord(FILE* file, CMemoryBuffer& buffer, std::uint64_t maxBytes, std::int32_t* length) {
    unsigned char lengthBytes[4];
    if (std::fread(lengthBytes, 1, 4, file) != 4) return false;
    const std::int32_t n = std::int32_t(littleEndian32(lengthBytes));
    if (length != nullptr) *length = n;
    if (n < 1) return true;

    const std::optional<std::uint64_t> left = bytesLeftInFile(file);
    if (!left || std::uint64_t(n) > *left || std::uint64_t(n) > maxBytes) return false;
    FIFOSampleBufferTemplate<char>& bytes = buffer.bytes();
    bytes.clear();
    bytes.ensureCapacity(std::uint32_t(n));
    const auto got = std::uint32_t(std::fread(bytes.ptrBegin(), 1, std::uint32_t(n), file));
    bytes.putSamples(got);
    return got == std::uint32_t(n);
}

}  // namespace Halvoren
