#pragma once
// Builds the bytes of package files for tests: little-endian values, the
// length-prefixed strings and arrays of the package formats, and framed
// records (an int32 byte length, then the bytes).
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace testbank {

class LeWriter {
public:
    LeWriter& bytes(const std::string& raw) { out_ += raw; return *this; }
    LeWriter& i8(std::int8_t v) { return bytes(std::string(1, static_cast<char>(v))); }
    LeWriter& i32(std::int32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            out_.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> shift) & 0xFF));
        return *this;
    }
    LeWriter& f32(float v) { return i32(std::bit_cast<std::int32_t>(v)); }
    // int32 length, then the bytes (no terminating zero); h32 is the name the
    // header strings of later formats use.
    LeWriter& rstr(const std::string& s) { return i32(static_cast<std::int32_t>(s.size())).bytes(s); }
    LeWriter& h32(const std::string& s) { return rstr(s); }
    // int8 length, then the bytes.
    LeWriter& h8(const std::string& s) { return i8(static_cast<std::int8_t>(s.size())).bytes(s); }
    // int32 count, then the values.
    LeWriter& floatArray(const std::vector<float>& values) {
        i32(static_cast<std::int32_t>(values.size()));
        for (float v : values) f32(v);
        return *this;
    }
    LeWriter& intArray(const std::vector<std::int32_t>& values) {
        i32(static_cast<std::int32_t>(values.size()));
        for (std::int32_t v : values) i32(v);
        return *this;
    }
    // int32 byte length of body, then body.
    LeWriter& record(const std::string& body) { return rstr(body); }
    LeWriter& record(const LeWriter& body) { return record(body.str()); }

    const std::string& str() const { return out_; }
    std::int32_t size() const { return static_cast<std::int32_t>(out_.size()); }

private:
    std::string out_;
};

}  // namespace testbank
