#include "dsp/PackedPeakFrames.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/LittleEndian.h"
#include "dsp/StreamReads.h"

namespace Halvoren {

namespace {
// count little-endian float32 values from src into dst.
void copyFloats(float* dst, const char* src, std::int32_t count)
{
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(dst, src, std::size_t(count) * 4);
    } else {
        for (std::int32_t i = 0; i < count; ++i)
            dst[i] = std::bit_cast<float>(littleEndian32(src + 4 * std::size_t(i)));
    }
}

// f[i] = (i + 1) * step, written straight into place. The blocks of 4 are
// what the compiler turns into vector conversions, products and stores (it
// leaves a plain loop of unknown length scalar).
void harmonicsOf(float step, float* f, std::int32_t n)
{
    std::int32_t i = 0;
    for (; i + 4 <= n; i += 4)
        for (std::int32_t j = 0; j < 4; ++j)
            f[i + j] = float(i + j + 1) * step;
    for (; i < n; ++i)
        f[i] = float(i + 1) * step;
}
}  // namespace

void PackedPeakFrames::readFrom(CMemoryStream& stream)
{
    bytes.bytes().clear();
    offsets.clear();
    axis.clear();
    frameCount = 0;
    stream.readInt32(axisLength);
    stream.readFloat(axisStep);
    stream.readInt32(frameCount);
    readIntArray(stream, offsets);
    readBlob(stream, bytes);
    // Frames of a positive axis step carry no step of their own: they read
    // their frequencies from the axis, which is built for them here.
    if (axisStep > 0.0f)
        buildAxis();
}

void PackedPeakFrames::readFromWithAxis(CMemoryStream& stream)
{
    readFrom(stream);
    buildAxis();
}

void PackedPeakFrames::buildAxis()
{
    // A frame's levels take 4 bytes each, so no frame can use more of the
    // axis than a quarter of the frame bytes.
    const std::int32_t length = std::clamp<std::int32_t>(axisLength, 0, std::int32_t(bytes.size() / 4));
    axis.resize(std::size_t(length));
    for (std::int32_t i = 0; i < length; ++i)
        axis[std::size_t(i)] = float(i + 1) * axisStep;
}

void PackedPeakFrames::getFrame(int index, PeakList& out) const
{
    // Cleared only when the frame cannot be decoded: a decoded frame resizes
    // the vectors, which costs nothing when out held a frame of the same size.
    if (!decodeFrame(index, out))
        out.clear();
}

bool PackedPeakFrames::decodeFrame(int index, PeakList& out) const
{
    if (index < 0 || index >= frameCount || std::size_t(index) >= offsets.size())
        return false;
    const bool sharedAxis = axisStep > 0.0f;
    // The head: n, the frame's own step unless the axis is shared, and the
    // level count. A frame of n = 0 may be shorter; it decodes empty either way.
    const std::int64_t headSize = sharedAxis ? 8 : 12;
    const std::int64_t at = offsets[std::size_t(index)];
    const std::int64_t size = bytes.size();
    if (at < 0 || at > size - headSize)
        return false;
    const char* head = bytes.begin() + at;
    const auto n = std::int32_t(littleEndian32(head));
    const auto count = std::int32_t(littleEndian32(head + headSize - 4));
    if (n <= 0 || (sharedAxis && std::size_t(n) > axis.size()))
        return false;
    // The one check of the levels' bytes; everything below stays inside them.
    if (count <= 0 || count > (size - at - headSize) / 4)
        return false;
    // The peaks are complete only where all three vectors hold a value.
    const std::int32_t peaks = std::min(n, count);
    out.mags.resize(std::size_t(peaks));
    out.freqs.resize(std::size_t(peaks));
    out.phases.assign(std::size_t(peaks), 0.0f);
    copyFloats(out.mags.data(), head + headSize, peaks);
    if (sharedAxis)
        std::copy_n(axis.data(), peaks, out.freqs.data());
    else
        harmonicsOf(std::bit_cast<float>(littleEndian32(head + 4)), out.freqs.data(), peaks);
    return true;
}

}  // namespace Halvoren
