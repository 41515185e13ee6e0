#pragma once
// A read cursor over a record buffer, or over a record that lies in an open
// file. Values are little-endian; a read that would pass the end takes
// nothing and leaves both the target and the position unchanged, so a short
// record reads as defaults.
//
// The stream also notes what a reader of a whole record needs to know and
// the lenient reads hide: the first read that asked for bytes past the end
// (a count whose values are not all there counts as one), and the first
// float read that is not finite. Reads go on as before after either; the
// notes stay.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "dsp/CMemoryBuffer.h"

namespace Halvoren {

class CMemoryStream {
public:
    // buffer is not owned and must outlive the stream.
    explicit CMemoryStream(const CMemoryBuffer* buffer, std::int32_t position = 0)
        : buffer_(buffer), position_(position) {}
    // The next size bytes of file, from its position: the reads take them
    // in order, straight from the file, so a record costs only the bytes
    // read from it, whatever size it claims. The file is not owned, must
    // stay open while the stream reads and must hold the size bytes (a read
    // the file cannot serve counts as one past the end).
    CMemoryStream(std::FILE* file, std::int32_t size) : file_(file), size_(size < 0 ? 0 : size) {}
    virtual ~CMemoryStream() = default;

    std::int32_t getPosition() const { return position_; }
    // Bytes between the position and the end (0 when the position lies outside).
    std::int32_t remaining() const;

    // Copies size bytes to dst and advances, when dst is not null and the
    // bytes lie within the end; otherwise does nothing and returns false.
    bool read(void* dst, std::int32_t size);
    bool readInt32(std::int32_t& value);
    bool readFloat(float& value);

    // An int32 length L, then L bytes, cut at the first zero byte. A negative
    // L, or one larger than what remains, gives "" and leaves the position
    // after the length.
    std::string readString();

    // An int32 count, then that many floats appended to out (out is not
    // cleared). Only the floats present before the end are appended.
    void readFloatArray(std::vector<float>& out);

    // True when size more bytes lie before the end; when they do not, notes
    // a read past the end as a failed read would. For readers that clamp a
    // count to the bytes there are.
    bool holds(std::int64_t size);
    // Notes the first of count floats that is not finite, the first of them
    // read from position at.
    void checkFinite(const float* values, std::int32_t count, std::int32_t at);

    // True once a read asked for bytes past the end.
    bool ranPastEnd() const { return neededEnd_ > 0; }
    // Where the first such read would have ended, from the start; 0 while
    // there was none.
    std::int64_t neededEnd() const { return neededEnd_; }
    // The position of the first float read that is not finite; -1 while
    // there was none.
    std::int32_t nonFiniteAt() const { return nonFiniteAt_; }

private:
    // read without the null check: size bytes to dst, or a note and false.
    bool take(void* dst, std::int32_t size);
    void notePastEnd(std::int64_t size);

    const CMemoryBuffer* buffer_ = nullptr;
    std::FILE* file_ = nullptr;
    std::int32_t size_ = 0;  // of the file's record
    std::int32_t position_ = 0;
    std::int64_t neededEnd_ = 0;
    std::int32_t nonFiniteAt_ = -1;
};

}  // namespace Halvoren
