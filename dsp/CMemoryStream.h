#pragma once
// A read cursor over a record buffer. Values are little-endian; a read that
// would pass the end of the buffer takes nothing and leaves both the target
// and the position unchanged, so a short record reads as defaults.
#include <cstdint>
#include <string>
#include <vector>

#include "dsp/CMemoryBuffer.h"

namespace Halvoren {

class CMemoryStream {
public:
    // buffer is not owned and must outlive the stream.
    explicit CMemoryStream(const CMemoryBuffer* buffer, std::int32_t position = 0)
        : buffer_(buffer), position_(position) {}
    virtual ~CMemoryStream() = default;

    std::int32_t getPosition() const { return position_; }
    // Bytes between the position and the end (0 when the position lies outside).
    std::int32_t remaining() const;

    // Copies size bytes to dst and advances, when dst is not null and the
    // bytes lie within the buffer; otherwise does nothing and returns false.
    bool read(void* dst, std::int32_t size);
    bool readInt32(std::int32_t& value);
    bool readFloat(float& value);

    // An int32 length L, then L bytes, cut at the first zero byte. A negative
    // L, or one larger than what remains, gives "" and leaves the position
    // after the length.
    std::string readString();

    // An int32 count, then that many floats appended to out (out is not
    // cleared). Only the floats present in the buffer are appended.
    void readFloatArray(std::vector<float>& out);

private:
    const CMemoryBuffer* buffer_;
    std::int32_t position_;
};

}  // namespace Halvoren
