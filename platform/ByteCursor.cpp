#include "platform/ByteCursor.h"

#include <algorithm>
#include <cstring>

#include "platform/LittleEndian.h"

bool ByteCursor::seek(std::uint64_t position) {
    if (position > size_) return false;
    pos_ = position;
    return true;
}

bool ByteCursor::bytes(void* target, std::uint64_t n) {
    if (!target || n > remaining()) return false;
    if (n > 0) std::memcpy(target, data_ + pos_, n);
    pos_ += n;
    return true;
}

bool ByteCursor::u8(std::uint8_t& target) { return bytes(&target, 1); }

bool ByteCursor::u16(std::uint16_t& target) {
    unsigned char b[2];
    if (!bytes(b, 2)) return false;
    target = littleEndian16(b);
    return true;
}

bool ByteCursor::tag(const char* tag, std::uint64_t n) {
    if (!tag || n > remaining() || std::memcmp(data_ + pos_, tag, n) != 0) return false;
    pos_ += n;
    return true;
}

bool ByteCursor::text(std::uint64_t n, std::string& target) {
    if (n > remaining()) return false;
    const char* first = here();
    target.assign(first, std::find(first, first + n, '\0'));
    pos_ += n;
    return true;
}

bool ByteCursor::floats(std::uint64_t count, std::vector<float>& target) {
    if (!holds(count, 4)) return false;
    target.reserve(target.size() + count);
    for (std::uint64_t i = 0; i < count; ++i, pos_ += 4) target.push_back(floatFromBits(littleEndian32(data_ + pos_)));
    return true;
}

bool ByteCursor::holds(std::uint64_t count, std::uint64_t minBytes) const {
    return minBytes == 0 || count <= remaining() / minBytes;
}

