#pragma once
// Package files store their numbers little-endian, whatever the machine's order.
#include <cstdint>

namespace Halvoren {

// The unsigned 32-bit value of the four bytes at b, least significant first.
inline std::uint32_t littleEndian32(const unsigned char* b) {
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}

}  // namespace Halvoren
