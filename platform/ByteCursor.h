#pragma once
// A bounded read cursor over bytes held elsewhere (a file read into memory,
// one record, one block of a record). Every read checks what it needs
// against the bytes left first: a read that cannot be served in full takes
// nothing, leaves its target unchanged and does not move the cursor, so a
// damaged or cut-short input can never read, or allocate, beyond its bytes.
// Positions and counts are 64-bit; no arithmetic on them can overflow.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/LittleEndian.h"

class ByteCursor {
public:
    ByteCursor() = default;
    // The cursor does not own the bytes; they must outlive it and every
    // sub-cursor taken from it. A null data reads as empty.
    ByteCursor(const void* data, std::uint64_t size)
        : data_(static_cast<const unsigned char*>(data)), size_(data ? size : 0) {}

    std::uint64_t position() const { return pos_; }
    std::uint64_t size() const { return size_; }
    std::uint64_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ == size_; }
    // The next unread byte (null over no bytes).
    const char* here() const { return reinterpret_cast<const char*>(data_ ? data_ + pos_ : nullptr); }

    // Moves to an absolute position; false, not moving, beyond the end.
    bool seek(std::uint64_t position);
    bool skip(std::uint64_t n) {
        if (n > remaining()) return false;
        pos_ += n;
        return true;
    }
    bool bytes(void* target, std::uint64_t n);

    bool u8(std::uint8_t& target);
    bool u16(std::uint16_t& target);
    // Inline: record readers take most of their values through these.
    bool u32(std::uint32_t& target) {
        if (remaining() < 4) return false;
        target = littleEndian32(data_ + pos_);
        pos_ += 4;
        return true;
    }
    bool i32(std::int32_t& target) {
        std::uint32_t v = 0;
        if (!u32(v)) return false;
        target = static_cast<std::int32_t>(v);
        return true;
    }
    bool f32(float& target) {
        std::uint32_t v = 0;
        if (!u32(v)) return false;
        target = floatFromBits(v);
        return true;
    }
    // Takes the tag's n bytes when they are next; else stays.
    bool tag(const char* tag, std::uint64_t n);

    // n bytes as text, cut at the first NUL. Fails when fewer remain.
    bool text(std::uint64_t n, std::string& target);
    // Appends count little-endian floats; fails, appending nothing and never
    // reserving, when they are not all there.
    bool floats(std::uint64_t count, std::vector<float>& target);
    // True when count records of at least minBytes each can still follow:
    // the check to make before reserving room for them.
    bool holds(std::uint64_t count, std::uint64_t minBytes) const;

    // A cursor over the next n bytes, this one moved past them. When fewer
    // remain, sub stays as it was and nothing moves. What the sub-cursor
    // reads can never reach outside its slice.
    bool sub(std::uint64_t n, ByteCursor& sub) {
        if (n > remaining()) return false;
        sub = ByteCursor(data_ + pos_, n);
        pos_ += n;
        return true;
    }

private:
    const unsigned char* data_ = nullptr;
    std::uint64_t size_ = 0;
    std::uint64_t pos_ = 0;
};
