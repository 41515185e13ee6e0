#pragma once
// Explicit little-endian packing of the fixed-width values of project files.
#include <cstdint>
#include <cstring>

namespace HalvorenWin {

inline void storeU32(char* out, uint32_t v) {
    out[0] = static_cast<char>(v & 0xFF);
    out[1] = static_cast<char>((v >> 8) & 0xFF);
    out[2] = static_cast<char>((v >> 16) & 0xFF);
    out[3] = static_cast<char>((v >> 24) & 0xFF);
}

inline uint32_t loadU32(const char* in) {
    const auto* b = reinterpret_cast<const unsigned char*>(in);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

inline uint32_t floatBits(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return bits;
}

inline float floatFromBits(uint32_t bits) {
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

}  // namespace HalvorenWin
