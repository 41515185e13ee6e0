#pragma once
// The bytes of one package record, held in a byte FIFO.
#include <cstdint>

#include "dsp/FIFOSampleBuffer.h"

namespace Halvoren {

class CMemoryBuffer {
public:
    // Package readers grow their record buffers in steps of 4096 bytes.
    static constexpr std::uint32_t kRecordGranularity = 4096;

    explicit CMemoryBuffer(std::uint32_t granularity = kRecordGranularity) : bytes_(granularity) {}
    virtual ~CMemoryBuffer() { bytes_.clear(); }
    CMemoryBuffer(const CMemoryBuffer&) = delete;
    CMemoryBuffer& operator=(const CMemoryBuffer&) = delete;

    FIFOSampleBufferTemplate<char>& bytes() { return bytes_; }
    const FIFOSampleBufferTemplate<char>& bytes() const { return bytes_; }

    // The first live byte, or null when the buffer is empty.
    const char* begin() const { return bytes_.isEmpty() ? nullptr : bytes_.ptrBegin(); }
    std::uint32_t size() const { return bytes_.numSamples(); }

private:
    FIFOSampleBufferTemplate<char> bytes_;
};

}  // namespace Halvoren
