#pragma once
// The one packing of fixed-width values in the files the program reads and
// writes: little-endian, whatever the machine's own order.
#include <bit>
#include <cstdint>
#include <cstring>

inline std::uint16_t littleEndian16(const unsigned char* b) {
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

inline std::uint32_t littleEndian32(const unsigned char* b) {
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}

inline std::uint32_t littleEndian32(const char* b) { return littleEndian32(reinterpret_cast<const unsigned char*>(b)); }

inline void storeLittleEndian32(char* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(v >> (8 * i) & 0xFF);
}

inline std::uint32_t floatBits(float v) { return std::bit_cast<std::uint32_t>(v); }
inline float floatFromBits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

// Brings count little-endian 4-byte words at words to the machine's order
// in place (nothing to do on a little-endian machine).
inline void wordsToNative(void* words, std::int32_t count) {
    if constexpr (std::endian::native != std::endian::little) {
        auto* bytes = static_cast<unsigned char*>(words);
        for (std::int32_t i = 0; i < count; ++i) {
            const std::uint32_t word = littleEndian32(bytes + 4 * i);
            std::memcpy(bytes + 4 * i, &word, 4);
        }
    }
}
