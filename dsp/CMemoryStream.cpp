#include "dsp/CMemoryStream.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "dsp/NotFinite.h"
#include "platform/LittleEndian.h"

namespace Halvoren {

std::int32_t CMemoryStream::remaining() const
{
    if (file_)
        return size_ - position_;
    if (!buffer_ || position_ < 0)
        return 0;
    // Bytes past INT32_MAX are out of reach, so a position moved by what
    // was read always fits.
    const auto size = std::int32_t(std::min<std::uint32_t>(buffer_->size(), INT32_MAX));
    return position_ < size ? size - position_ : 0;
}

void CMemoryStream::notePastEnd(std::int64_t size)
{
    if (neededEnd_ == 0)
        neededEnd_ = std::max<std::int64_t>(position_, 0) + std::max<std::int64_t>(size, 1);
}

bool CMemoryStream::holds(std::int64_t size)
{
    if (size <= remaining())
        return true;
    notePastEnd(size);
    return false;
}

void CMemoryStream::checkFinite(const float* values, std::int32_t count, std::int32_t at)
{
    if (nonFiniteAt_ >= 0)
        return;
    // A healthy run is told first, several values at a time: a value whose
    // exponent bits are all set carries into the top bit when one more is
    // added to its exponent, no other does. Only a run that holds such a
    // value is searched for the first.
    std::uint32_t carried = 0;
    for (std::int32_t i = 0; i < count; ++i)
        carried |= (floatBits(values[i]) & 0x7F800000u) + 0x00800000u;
    for (std::int32_t i = 0; (carried & 0x80000000u) != 0 && i < count; ++i)
        if (notFinite(values[i]) != 0) {
            nonFiniteAt_ = at + 4 * i;
            return;
        }
}

bool CMemoryStream::take(void* dst, std::int32_t size)
{
    if (size < 0)
        return false;
    if (!holds(size))
        return false;
    if (size == 0)
        return true;
    if (file_) {
        if (std::fread(dst, 1, std::size_t(size), file_) != std::size_t(size)) {
            // The file no longer holds the record: nothing more is read.
            notePastEnd(size);
            size_ = position_;
            return false;
        }
    } else {
        std::memcpy(dst, buffer_->begin() + position_, std::size_t(size));
    }
    position_ += size;
    return true;
}

bool CMemoryStream::read(void* dst, std::int32_t size)
{
    return dst != nullptr && take(dst, size);
}

bool CMemoryStream::readInt32(std::int32_t& value)
{
    unsigned char bytes[4];
    if (!take(bytes, 4))
        return false;
    value = std::int32_t(littleEndian32(bytes));
    return true;
}

bool CMemoryStream::readFloat(float& value)
{
    unsigned char bytes[4];
    if (!take(bytes, 4))
        return false;
    value = floatFromBits(littleEndian32(bytes));
    checkFinite(&value, 1, position_ - 4);
    return true;
}

std::string CMemoryStream::readString()
{
    std::int32_t length = 0;
    readInt32(length);
    std::string text;
    if (length <= 0 || !holds(length))
        return text;
    text.resize(std::size_t(length));
    take(text.data(), length);
    text.resize(std::strlen(text.c_str()));
    return text;
}

void CMemoryStream::readFloatArray(std::vector<float>& out)
{
    std::int32_t count = 0;
    readInt32(count);
    if (count <= 0)
        return;
    // Only the floats present are taken; a count past them is noted.
    const std::int32_t present = std::min(count, remaining() / 4);
    holds(std::int64_t(count) * 4);
    if (present == 0)
        return;
    const std::size_t had = out.size();
    const std::int32_t at = position_;
    out.resize(had + std::size_t(present));
    if (!take(out.data() + had, present * 4)) {
        out.resize(had);
        return;
    }
    wordsToNative(out.data() + had, present);
    checkFinite(out.data() + had, present, at);
}

}  // namespace Halvoren
