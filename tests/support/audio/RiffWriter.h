#pragma once
// Builds RIFF/WAVE files byte by byte for reader tests: chunks in any order,
// odd sizes with their pad byte, declared sizes that differ from the bytes
// present, and fmt chunks of any size and tag.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/ByteBuilder.h"

namespace hvtest {

using Bytes = std::vector<uint8_t>;

// A fmt chunk body: tag, channels, rate, byte rate, block align and bits;
// padded with zeros or cut to `size` bytes.
Bytes fmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16);

class RiffWriter {
public:
    // Appends a chunk; declaredSize stands in the header instead of the body
    // size when given. A body of odd size is followed by a pad byte.
    RiffWriter& chunk(std::string_view id, const Bytes& body, std::optional<uint32_t> declaredSize = std::nullopt);
    RiffWriter& fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16);
    RiffWriter& data(const Bytes& samples, std::optional<uint32_t> declaredSize = std::nullopt);

    // "RIFF", size, "WAVE" and the chunks in the order added.
    Bytes bytes() const;
    bool writeTo(const std::string& path) const;

private:
    Bytes chunks_;
};

// The bytes of a builder, as the writer takes them.
inline Bytes toBytes(const ByteBuilder& b) { return Bytes(b.bytes.begin(), b.bytes.end()); }

// A plain WAV: fmt (size 16) then data.
Bytes simpleWav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples);
bool writeBytes(const std::string& path, const Bytes& bytes);

}  // namespace hvtest
