#pragma once
// Growable byte buffer in which a project body is assembled before it is
// written, and into which a body is read before it is parsed.
#include <cstddef>
#include <cstdio>
#include <vector>

namespace HalvorenWin {

class CMemoryBuffer {
public:
    CMemoryBuffer() = default;
    virtual ~CMemoryBuffer() = default;

    // The valid bytes; there is no separate write position.
    std::vector<char> data;

    size_t size() const { return data.size(); }

    // Empties the buffer and releases its storage.
    void clear();

    // Copies n bytes to the end (nothing when bytes is null or n is 0).
    void append(const void* bytes, size_t n);

    // Copies n bytes to pos, growing the buffer when they reach past its end.
    // A pos beyond the size does nothing; pos equal to the size appends.
    void writeAt(const void* bytes, size_t n, size_t pos);

    // Writes the size as u32, then the bytes; false when the file took less.
    bool writeToFile(std::FILE* file) const;

    // Reads a u32 count n, then up to n bytes into the buffer from its start.
    // The buffer ends up holding the bytes the file really had (at most n), so
    // a damaged count never allocates more than the file holds. A count of 0,
    // a negative one or one that cannot be read leaves the buffer as it was.
    void readFromFile(std::FILE* file);
};

}  // namespace HalvorenWin
