#pragma once
// Builds the bytes of package files for tests: little-endian values, the
// length-prefixed strings and arrays of the package formats, and framed
// records (an int32 byte length, then the bytes).
#include <cstdint>
#include <string>
#include <vector>

namespace testbank {

class LeWriter {
public:
    LeWriter& i8(std::int8_t v);
    LeWriter& i32(std::int32_t v);
    LeWriter& f32(float v);
    LeWriter& bytes(const std::string& raw);
    // int32 length, then the bytes (no terminating zero).
    LeWriter& rstr(const std::string& s);
    // int8 length, then the bytes.
    LeWriter& h8(const std::string& s);
    // Same as rstr; the header strings of later formats use this name.
    LeWriter& h32(const std::string& s) { return rstr(s); }
    // int32 count, then the floats.
    LeWriter& floatArray(const std::vector<float>& values);
    // int32 count, then the ints.
    LeWriter& intArray(const std::vector<std::int32_t>& values);
    // int32 byte length of body, then body.
    LeWriter& record(const std::string& body);
    LeWriter& record(const LeWriter& body) { return record(body.str()); }

    const std::string& str() const { return out_; }
    std::int32_t size() const { return static_cast<std::int32_t>(out_.size()); }

private:
    std::string out_;
};

}  // namespace testbank
