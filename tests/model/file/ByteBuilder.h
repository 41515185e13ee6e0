#pragma once
// Hand-made little-endian bytes for project file fixtures, independent of
// the writers under test.
#include <cstdint>
#include <bit>
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
    ByteBuilder& f32(float v) { return u32(std::bit_cast<uint32_t>(v)); }
    ByteBuilder& u8(uint8_t v) { return raw(std::string(1, static_cast<char>(v))); }
    ByteBuilder& raw(std::string_view s) { bytes += s; return *this; }
    ByteBuilder& str(std::string_view s) { return u32(static_cast<uint32_t>(s.size())).raw(s); }
    ByteBuilder& block(const ByteBuilder& inner) { return str(inner.bytes); }
    // A zero-padded UTF-16LE field of `units` units.
    ByteBuilder& utf16(std::u16string_view s, size_t units)
    {
        for (size_t i = 0; i < units; ++i) u8(i < s.size() ? s[i] & 0xFF : 0).u8(i < s.size() ? s[i] >> 8 : 0);
        return *this;
    }
    size_t size() const { return bytes.size(); }
};

// A curve record: count, then (pos, value) pairs.
inline ByteBuilder curveBlock(const std::vector<std::pair<int32_t, int32_t>>& nodes)
{
    ByteBuilder b;
    b.u32(static_cast<uint32_t>(nodes.size()));
    for (auto [pos, value] : nodes) b.i32(pos).i32(value);
    return b;
}

}  // namespace hvtest
