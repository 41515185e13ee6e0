#pragma once
// Reads of the packed voice-unit formats through a CMemoryStream. Values are
// little-endian. Counts come from bank data: a negative or NaN count reads as
// 0, and nothing is allocated beyond the bytes the stream still holds. A
// count past those bytes is noted on the stream as a read past its end, and
// a float that is not finite as such (CMemoryStream::ranPastEnd,
// CMemoryStream::nonFiniteAt).
#include <cstdint>
#include <vector>

#include "dsp/CMemoryBuffer.h"
#include "dsp/CMemoryStream.h"
#include "dsp/FIFOSampleBuffer.h"

namespace Halvoren {

// As stream.read, but the size stored bytes are rotated by one on the way:
// the last lands in dst[0], the first size-1 in dst[1..size-1].
bool readRotated(CMemoryStream& stream, void* dst, std::int32_t size);
// count 4-byte values (int32 or float) stored as one rotated block of
// count * 4 bytes; false, with nothing read, when the stream holds fewer.
bool readRotatedWords(CMemoryStream& stream, void* dst, std::int32_t count);
bool readRotatedInt32(CMemoryStream& stream, std::int32_t& value);
bool readRotatedFloat(CMemoryStream& stream, float& value);

// count float32 values into dst; false, with nothing read, when the stream
// holds fewer or count is negative.
bool readFloats(CMemoryStream& stream, float* dst, std::int32_t count);

// An int32 count, then that many int32 appended to out (not cleared); only
// the values present in the stream are appended.
void readIntArray(CMemoryStream& stream, std::vector<std::int32_t>& out);

// An int32 count; when positive, the vector is resized to count and the
// count * 4 data bytes are read into it. A count whose data the stream does
// not hold is refused whole: false, the vector as it was, the position after
// the count.
bool readFastVector(CMemoryStream& stream, FastVector<std::int32_t>& out);
bool readFastVector(CMemoryStream& stream, FastVector<float>& out);

// An int32 length, then that many bytes appended to the buffer; a length
// beyond the bytes left is refused as readFastVector refuses.
bool readBlob(CMemoryStream& stream, CMemoryBuffer& out);

}  // namespace Halvoren
