#include "dsp/CMemoryStream.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "dsp/LittleEndian.h"

namespace Halvoren {

std::int32_t CMemoryStream::remaining() const {
    if (!buffer_ || position_ < 0) return 0;
    const std::int64_t left = std::int64_t(buffer_->size()) - position_;
    return left > 0 ? std::int32_t(std::min<std::int64_t>(left, INT32_MAX)) : 0;
}

bool CMemoryStream::read(void* dst, std::int32_t size) {
    // Compared as a count of what remains, so position + size cannot overflow.
    if (!dst || size < 0 || size > remaining()) return false;
    if (size > 0) std::memcpy(dst, buffer_->begin() + position_, std::size_t(size));
    position_ += size;
    return true;
}

bool CMemoryStream::readInt32(std::int32_t& value) {
    unsigned char b[4];
    if (!read(b, 4)) return false;
    value = std::int32_t(littleEndian32(b));
    return true;
}

bool CMemoryStream::readFloat(float& value) {
    unsigned char b[4];
    if (!read(b, 4)) return false;
    value = std::bit_cast<float>(littleEndian32(b));
    return true;
}

std::string CMemoryStream::readString() {
    std::int32_t length = 0;
    readInt32(length);
    if (length <= 0 || length > remaining()) return std::string();
    const char* text = buffer_->begin() + position_;
    position_ += length;
    return std::string(text, std::find(text, text + length, '\0'));
}

void CMemoryStream::readFloatArray(std::vector<float>& out) {
    std::int32_t count = 0;
    readInt32(count);
    if (count <= 0) return;
    const std::int32_t present = std::min(count, remaining() / 4);
    out.reserve(out.size() + std::size_t(present));
    for (std::int32_t i = 0; i < present; ++i) {
        float value = 0.0f;
        readFloat(value);
        out.push_back(value);
    }
}

}  // namespace Halvoren
