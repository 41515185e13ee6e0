#pragma once
// Hand-made little-endian bytes for project file fixtures, independent of
// the writers under test.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hvtest {

struct ByteBuilder {
    std::string bytes;

    ByteBuilder& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    ByteBuilder& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    ByteBuilder& f32(float v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(bits);
    }
    ByteBuilder& u8(uint8_t v)
    {
        bytes += static_cast<char>(v);
        return *this;
    }
    ByteBuilder& raw(std::string_view s)
    {
        bytes += s;
        return *this;
    }
    ByteBuilder& str(std::string_view s) { return u32(static_cast<uint32_t>(s.size())).raw(s); }
    ByteBuilder& block(const ByteBuilder& inner) { return str(inner.bytes); }
    // A zero-padded UTF-16LE field of `units` units.
    ByteBuilder& utf16(std::u16string_view s, size_t units)
    {
        for (size_t i = 0; i < units; ++i) {
            const char16_t c = i < s.size() ? s[i] : 0;
            u8(static_cast<uint8_t>(c & 0xFF)).u8(static_cast<uint8_t>(c >> 8));
        }
        return *this;
    }
    // A curve record: count, then (pos, value) pairs.
    ByteBuilder& curve(const std::vector<std::pair<int32_t, int32_t>>& nodes)
    {
        u32(static_cast<uint32_t>(nodes.size()));
        for (auto [pos, value] : nodes) i32(pos).i32(value);
        return *this;
    }
    size_t size() const { return bytes.size(); }
};

inline ByteBuilder curveBlock(const std::vector<std::pair<int32_t, int32_t>>& nodes)
{
    ByteBuilder b;
    b.curve(nodes);
    return b;
}

}  // namespace hvtest
