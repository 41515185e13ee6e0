#pragma once
// First-in-first-out sample buffer with 16-byte aligned storage that grows in
// steps of a per-instance granularity. Consuming from the front only moves the
// read position; the live samples are moved back to the start on the next
// write. FastVector is the same container used as a growable vector.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace Halvoren {

template <class T>
class FIFOSampleBufferTemplate {
public:
    using uint = std::uint32_t;

    explicit FIFOSampleBufferTemplate(uint growthBytes = 512) : granularity(growthBytes)
    {
        if (granularity == 0)
            throw std::invalid_argument("sample buffer granularity must be positive");
        ensureCapacity(32);
    }

    FIFOSampleBufferTemplate(const FIFOSampleBufferTemplate& other)
        : granularity(other.granularity), channels(other.channels)
    {
        ensureCapacity(32);
        putSamples(other.ptrBegin(), other.samplesInBuffer);
    }

    FIFOSampleBufferTemplate(FIFOSampleBufferTemplate&& other) noexcept : granularity(other.granularity)
    {
        takeStorage(other);
    }

    FIFOSampleBufferTemplate& operator=(const FIFOSampleBufferTemplate& other)
    {
        if (this != &other) {
            clear();
            putSamples(other.ptrBegin(), other.samplesInBuffer);
        }
        return *this;
    }

    FIFOSampleBufferTemplate& operator=(FIFOSampleBufferTemplate&& other) noexcept
    {
        if (this != &other) {
            release();
            takeStorage(other);
        }
        return *this;
    }

    virtual ~FIFOSampleBufferTemplate() { release(); }

    virtual T* ptrBegin() const { return buffer + std::size_t(bufferPos) * channels; }

    // Appends n samples whose values the caller writes afterwards through ptrBegin().
    virtual void putSamples(uint n)
    {
        ensureCapacity(checkedCount(samplesInBuffer, n));
        samplesInBuffer += n;
    }

    virtual void putSamples(const FIFOSampleBufferTemplate& other)
    {
        putSamples(other.ptrBegin(), other.numSamples());
    }

    virtual void putSamples(const T* src, uint n)
    {
        if (n == 0) {
            ensureCapacity(samplesInBuffer);  // still rewinds the live samples
            return;
        }
        const std::size_t values = std::size_t(n) * channels;
        if (src != nullptr && overlapsStorage(src, values)) {
            // The source lives in this buffer and may move while growing: copy it first.
            FIFOSampleBufferTemplate copy(granularity);
            copy.channels = channels;
            copy.putSamples(src, n);
            putSamples(copy.ptrBegin(), n);
            return;
        }
        ensureCapacity(checkedCount(samplesInBuffer, n));
        if (src != nullptr)
            std::memcpy(buffer + std::size_t(samplesInBuffer) * channels, src, values * sizeof(T));
        samplesInBuffer += n;
    }

    virtual uint receiveSamples(uint n)
    {
        if (n >= samplesInBuffer) {
            const uint had = samplesInBuffer;
            samplesInBuffer = 0;
            return had;
        }
        bufferPos += n;
        samplesInBuffer -= n;
        return n;
    }

    virtual uint receiveSamples(T* out, uint max)
    {
        const uint n = max < samplesInBuffer ? max : samplesInBuffer;
        if (n > 0)
            std::memcpy(out, ptrBegin(), std::size_t(n) * channels * sizeof(T));
        return receiveSamples(n);
    }

    virtual uint numSamples() const { return samplesInBuffer; }
    virtual bool isEmpty() const { return samplesInBuffer == 0; }

    virtual void clear()
    {
        samplesInBuffer = 0;
        bufferPos = 0;
    }

    // Makes room for `required` samples in total and rewinds the live samples
    // to the start of the storage. The storage never shrinks. Counts whose
    // byte size does not fit the 32-bit capacity throw std::length_error.
    void ensureCapacity(uint required)
    {
        const std::size_t frameBytes = std::size_t(channels) * sizeof(T);
        const std::size_t capacity = sizeInBytes / frameBytes;
        if (required > capacity) {
            const std::size_t needBytes = std::size_t(required) * frameBytes;
            const std::size_t rounded = (needBytes + granularity - 1) / granularity * granularity;
            if (rounded > std::numeric_limits<uint>::max() - 16u)
                throw std::length_error("sample buffer too large");
            char* block = static_cast<char*>(::operator new(rounded + 16));
            std::memset(block, 0, rounded + 16);
            auto* aligned = reinterpret_cast<T*>(
                (reinterpret_cast<std::uintptr_t>(block) + 15) & ~std::uintptr_t(15));
            if (samplesInBuffer > 0)
                std::memcpy(aligned, ptrBegin(), std::size_t(samplesInBuffer) * frameBytes);
            release();
            bufferUnaligned = reinterpret_cast<T*>(block);
            buffer = aligned;
            sizeInBytes = uint(rounded);
            bufferPos = 0;
        } else if (buffer != nullptr && bufferPos != 0) {
            if (samplesInBuffer > 0)
                std::memmove(buffer, ptrBegin(), std::size_t(samplesInBuffer) * frameBytes);
            bufferPos = 0;
        }
    }

    uint getSizeInBytes() const { return sizeInBytes; }
    uint getGranularity() const { return granularity; }
    uint getBufferPos() const { return bufferPos; }
    // Start of the allocated block; the usable storage starts at most 15 bytes further.
    const void* allocatedBlock() const { return bufferUnaligned; }

protected:
    T* buffer = nullptr;
    T* bufferUnaligned = nullptr;
    uint sizeInBytes = 0;
    uint granularity;
    uint samplesInBuffer = 0;
    uint channels = 1;
    uint bufferPos = 0;

private:
    static uint checkedCount(uint have, uint add)
    {
        if (add > std::numeric_limits<uint>::max() - have)
            throw std::length_error("sample buffer too large");
        return have + add;
    }

    bool overlapsStorage(const T* src, std::size_t values) const
    {
        if (bufferUnaligned == nullptr)
            return false;
        auto lo = reinterpret_cast<std::uintptr_t>(bufferUnaligned);
        auto hi = lo + sizeInBytes + 16;
        auto s = reinterpret_cast<std::uintptr_t>(src);
        return s < hi && s + values * sizeof(T) > lo;
    }

    // Takes over other's storage, contents and settings, leaving it empty
    // without storage; this buffer must hold none.
    void takeStorage(FIFOSampleBufferTemplate& other) noexcept
    {
        buffer = other.buffer;
        bufferUnaligned = other.bufferUnaligned;
        sizeInBytes = other.sizeInBytes;
        granularity = other.granularity;
        samplesInBuffer = other.samplesInBuffer;
        channels = other.channels;
        bufferPos = other.bufferPos;
        other.buffer = nullptr;
        other.bufferUnaligned = nullptr;
        other.sizeInBytes = 0;
        other.samplesInBuffer = 0;
        other.bufferPos = 0;
    }

    void release()
    {
        ::operator delete(static_cast<void*>(bufferUnaligned));
        bufferUnaligned = nullptr;
        buffer = nullptr;
    }
};

// The same container used as a vector: element i is ptrBegin()[i], the size
// is numSamples().
template <class T>
class FastVector : public FIFOSampleBufferTemplate<T> {
public:
    using typename FIFOSampleBufferTemplate<T>::uint;
    using FIFOSampleBufferTemplate<T>::FIFOSampleBufferTemplate;

    // Shrinking drops the tail; growing appends elements (zero when fresh
    // storage was allocated, otherwise whatever the storage held).
    void resize(uint n)
    {
        if (n < this->numSamples())
            this->samplesInBuffer = n;
        else if (n > this->numSamples())
            this->putSamples(n - this->numSamples());
    }

    T& operator[](std::size_t i) { return this->ptrBegin()[i]; }
    const T& operator[](std::size_t i) const { return this->ptrBegin()[i]; }
};

}  // namespace Halvoren

namespace HalvorenEditor {
template <class T>
using FIFOSampleBufferTemplate = Halvoren::FIFOSampleBufferTemplate<T>;
}  // namespace HalvorenEditor
