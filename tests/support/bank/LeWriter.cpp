#include "support/bank/LeWriter.h"

#include <bit>

namespace testbank {

LeWriter& LeWriter::i8(std::int8_t v) {
    out_.push_back(static_cast<char>(v));
    return *this;
}

LeWriter& LeWriter::i32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<char>((u >> shift) & 0xFF));
    return *this;
}

LeWriter& LeWriter::f32(float v) { return i32(std::bit_cast<std::int32_t>(v)); }

LeWriter& LeWriter::bytes(const std::string& raw) {
    out_ += raw;
    return *this;
}

LeWriter& LeWriter::rstr(const std::string& s) { return i32(static_cast<std::int32_t>(s.size())).bytes(s); }

LeWriter& LeWriter::h8(const std::string& s) { return i8(static_cast<std::int8_t>(s.size())).bytes(s); }

LeWriter& LeWriter::floatArray(const std::vector<float>& values) {
    i32(static_cast<std::int32_t>(values.size()));
    for (float v : values) f32(v);
    return *this;
}

LeWriter& LeWriter::intArray(const std::vector<std::int32_t>& values) {
    i32(static_cast<std::int32_t>(values.size()));
    for (std::int32_t v : values) i32(v);
    return *this;
}

LeWriter& LeWriter::record(const std::string& body) { return i32(static_cast<std::int32_t>(body.size())).bytes(body); }

}  // namespace testbank
