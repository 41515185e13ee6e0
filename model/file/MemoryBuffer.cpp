#include "model/file/MemoryBuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/FileUtil.h"
#include "platform/LittleEndian.h"

namespace HalvorenWin {

void CMemoryBuffer::clear() { std::vector<char>().swap(data); }

void CMemoryBuffer::append(const void* bytes, size_t n)
{
    if (!bytes || n == 0) return;
    const char* p = static_cast<const char*>(bytes);
    data.insert(data.end(), p, p + n);
}

void CMemoryBuffer::writeAt(const void* bytes, size_t n, size_t pos)
{
    if (!bytes || n == 0 || pos > data.size()) return;
    if (pos == data.size()) {
        append(bytes, n);
        return;
    }
    if (pos + n > data.size()) data.resize(pos + n);
    std::memcpy(data.data() + pos, bytes, n);
}

bool CMemoryBuffer::writeToFile(std::FILE* file) const
{
    char count[4];
    storeLittleEndian32(count, static_cast<uint32_t>(data.size()));
    if (std::fwrite(count, 1, 4, file) != 4) return false;
    return data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
}

void CMemoryBuffer::readFromFile(std::FILE* file)
{
    char count[4];
    if (std::fread(count, 1, 4, file) != 4) return;
    const int32_t n = static_cast<int32_t>(littleEndian32(count));
    if (n <= 0) return;
    // Grow in steps while the file delivers, so that a count far beyond the
    // file's size costs no more memory than the file itself; when the size
    // of the rest of the file is known, the storage is taken at once.
    constexpr size_t kStep = size_t(1) << 22;
    const size_t wanted = static_cast<size_t>(n);
    size_t known = 0;
    if (const auto left = bytesLeftInFile(file)) known = static_cast<size_t>(std::min<uint64_t>(wanted, *left));
    data.clear();
    data.reserve(known);
    size_t got = 0;
    while (got < wanted) {
        const size_t step = std::min(kStep, wanted - got);
        data.resize(got + step);
        const size_t r = std::fread(data.data() + got, 1, step, file);
        got += r;
        if (r < step) break;
    }
    data.resize(got);
}

}  // namespace HalvorenWin
