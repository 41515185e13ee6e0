#include "dsp/StreamReads.h"

#include <algorithm>
#include <bit>

#include "platform/LittleEndian.h"

namespace Halvoren {

namespace {
bool readWords(CMemoryStream& stream, void* dst, std::int32_t count)
{
    if (count < 0 || !stream.holds(std::int64_t(count) * 4) || !stream.read(dst, count * 4))
        return false;
    wordsToNative(dst, count);
    return true;
}

// Notes a float among values that is not finite; ints are taken as stored.
void checkFinite(CMemoryStream& stream, const float* values, std::int32_t count, std::int32_t at)
{
    stream.checkFinite(values, count, at);
}
void checkFinite(CMemoryStream&, const std::int32_t*, std::int32_t, std::int32_t) {}

template <class T>
bool readVector(CMemoryStream& stream, FastVector<T>& out)
{
    std::int32_t count = 0;
    stream.readInt32(count);
    if (count <= 0)
        return true;
    if (!stream.holds(std::int64_t(count) * 4))
        return false;
    const std::int32_t at = stream.getPosition();
    out.resize(std::uint32_t(count));
    if (!readWords(stream, out.ptrBegin(), count))
        return false;
    checkFinite(stream, out.ptrBegin(), count, at);
    return true;
}
}  // namespace

bool readFloats(CMemoryStream& stream, float* dst, std::int32_t count)
{
    const std::int32_t at = stream.getPosition();
    if (!readWords(stream, dst, count))
        return false;
    stream.checkFinite(dst, count, at);
    return true;
}

bool readRotatedWords(CMemoryStream& stream, void* dst, std::int32_t count)
{
    if (count < 0 || !stream.holds(std::int64_t(count) * 4) || !readRotated(stream, dst, count * 4))
        return false;
    wordsToNative(dst, count);
    return true;
}

bool readRotated(CMemoryStream& stream, void* dst, std::int32_t size)
{
    if (dst == nullptr || size < 0 || !stream.holds(size))
        return false;
    if (size <= 1)
        return stream.read(dst, size);
    // Straight into place: the first size-1 stored bytes go to dst[1..], the
    // last to dst[0]; both reads fit, as checked above.
    auto* bytes = static_cast<unsigned char*>(dst);
    stream.read(bytes + 1, size - 1);
    stream.read(bytes, 1);
    return true;
}

bool readRotatedInt32(CMemoryStream& stream, std::int32_t& value)
{
    unsigned char b[4];
    if (!readRotated(stream, b, 4))
        return false;
    value = std::int32_t(littleEndian32(b));
    return true;
}

bool readRotatedFloat(CMemoryStream& stream, float& value)
{
    unsigned char b[4];
    if (!readRotated(stream, b, 4))
        return false;
    value = std::bit_cast<float>(littleEndian32(b));
    stream.checkFinite(&value, 1, stream.getPosition() - 4);
    return true;
}

void readIntArray(CMemoryStream& stream, std::vector<std::int32_t>& out)
{
    std::int32_t count = 0;
    stream.readInt32(count);
    if (count <= 0)
        return;
    const std::int32_t present = std::min(count, stream.remaining() / 4);
    stream.holds(std::int64_t(count) * 4);
    out.reserve(out.size() + std::size_t(present));
    for (std::int32_t i = 0; i < present; ++i) {
        std::int32_t value = 0;
        stream.readInt32(value);
        out.push_back(value);
    }
}

bool readFastVector(CMemoryStream& stream, FastVector<std::int32_t>& out)
{
    return readVector(stream, out);
}

bool readFastVector(CMemoryStream& stream, FastVector<float>& out)
{
    return readVector(stream, out);
}

bool readBlob(CMemoryStream& stream, CMemoryBuffer& out)
{
    std::int32_t length = 0;
    stream.readInt32(length);
    if (length <= 0)
        return true;
    if (!stream.holds(length))
        return false;
    const std::uint32_t had = out.size();
    out.bytes().putSamples(std::uint32_t(length));
    stream.read(out.bytes().ptrBegin() + had, length);
    return true;
}

}  // namespace Halvoren
