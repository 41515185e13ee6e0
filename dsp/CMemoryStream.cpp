#include "dsp/CMemoryStream.h"

#include <algorithm>
#include <climits>

#include "platform/ByteCursor.h"

namespace Halvoren {

namespace {

// A cursor over the buffer's bytes at position; an empty one when the
// position lies outside them. Bytes past INT32_MAX are out of reach, so a
// position moved by what the cursor read always fits.
ByteCursor cursorAt(const CMemoryBuffer* buffer, std::int32_t position) {
    if (!buffer || position < 0) return ByteCursor();
    ByteCursor c(buffer->begin(), std::min<std::uint64_t>(buffer->size(), INT32_MAX));
    if (!c.seek(std::uint64_t(position))) return ByteCursor();
    return c;
}

}  // namespace

std::int32_t CMemoryStream::remaining() const { return std::int32_t(cursorAt(buffer_, position_).remaining()); }

bool CMemoryStream::read(void* dst, std::int32_t size) {
    ByteCursor c = cursorAt(buffer_, position_);
    if (size < 0 || !c.bytes(dst, std::uint64_t(size))) return false;
    position_ += size;
    return true;
}

bool CMemoryStream::readInt32(std::int32_t& value) {
    ByteCursor c = cursorAt(buffer_, position_);
    if (!c.i32(value)) return false;
    position_ += 4;
    return true;
}

bool CMemoryStream::readFloat(float& value) {
    ByteCursor c = cursorAt(buffer_, position_);
    if (!c.f32(value)) return false;
    position_ += 4;
    return true;
}

std::string CMemoryStream::readString() {
    std::int32_t length = 0;
    readInt32(length);
    std::string text;
    ByteCursor c = cursorAt(buffer_, position_);
    if (length > 0 && c.text(std::uint64_t(length), text)) position_ += length;
    return text;
}

void CMemoryStream::readFloatArray(std::vector<float>& out) {
    std::int32_t count = 0;
    readInt32(count);
    if (count <= 0) return;
    // Only the floats present in the buffer are taken.
    ByteCursor c = cursorAt(buffer_, position_);
    const std::int32_t present = std::int32_t(std::min<std::uint64_t>(std::uint64_t(count), c.remaining() / 4));
    if (c.floats(std::uint64_t(present), out)) position_ += 4 * present;
}

}  // namespace Halvoren
