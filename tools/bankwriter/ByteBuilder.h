#pragma once
// Little-endian bytes built by hand: fixed-width values, the length-prefixed
// strings, arrays and blocks of the file formats, and raw bytes for what no
// format would write. The bank writer builds its packages with it, and the
// reader tests their inputs, independently of the writers under test.
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bankwriter {

struct ByteBuilder {
    std::string bytes;

    // The low `width` bytes of v, least significant first.
    ByteBuilder& le(uint64_t v, int width)
    {
        for (int i = 0; i < width; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    ByteBuilder& u8(uint8_t v) { return le(v, 1); }
    ByteBuilder& u16(uint16_t v) { return le(v, 2); }
    ByteBuilder& u32(uint32_t v) { return le(v, 4); }
    ByteBuilder& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    ByteBuilder& f32(float v) { return u32(std::bit_cast<uint32_t>(v)); }
    ByteBuilder& raw(std::string_view s) { bytes += s; return *this; }
    // A 32-bit byte count, then the bytes (no terminating zero).
    ByteBuilder& str(std::string_view s) { return u32(static_cast<uint32_t>(s.size())).raw(s); }
    ByteBuilder& block(const ByteBuilder& inner) { return str(inner.bytes); }
    // An 8-bit byte count, then the bytes.
    ByteBuilder& h8(std::string_view s) { return u8(static_cast<uint8_t>(s.size())).raw(s); }
    // A 32-bit count, then the values.
    ByteBuilder& floatArray(const std::vector<float>& values)
    {
        u32(static_cast<uint32_t>(values.size()));
        for (float v : values) f32(v);
        return *this;
    }
    ByteBuilder& intArray(const std::vector<int32_t>& values)
    {
        u32(static_cast<uint32_t>(values.size()));
        for (int32_t v : values) i32(v);
        return *this;
    }
    // A zero-padded UTF-16LE field of `units` units.
    ByteBuilder& utf16(std::u16string_view s, size_t units)
    {
        for (size_t i = 0; i < units; ++i) u16(i < s.size() ? s[i] : 0);
        return *this;
    }
    size_t size() const { return bytes.size(); }
};

}  // namespace bankwriter
