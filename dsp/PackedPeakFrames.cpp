#include "dsp/PackedPeakFrames.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "dsp/LittleEndian.h"
#include "dsp/StreamReads.h"

namespace Halvoren {

namespace {
// The numbers 1, 2, 3, ... as floats, built once: a product per peak with
// no int-to-float conversion in the loop, so the peaks do not wait on each
// other.
const std::vector<float>& ordinals()
{
    static const std::vector<float> table = [] {
        std::vector<float> t(1024);
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = float(i + 1);
        return t;
    }();
    return table;
}

// f[i] = (i + 1) * step.
void harmonicsOf(float step, float* f, std::int32_t n)
{
    const std::vector<float>& k = ordinals();
    const std::int32_t tabled = std::min(n, std::int32_t(k.size()));
    std::int32_t i = 0;
    // Blocks of 8 products the compiler can issue as vector operations.
    for (; i + 8 <= tabled; i += 8) {
        float block[8];
        for (int j = 0; j < 8; ++j)
            block[j] = k[std::size_t(i + j)] * step;
        std::memcpy(f + i, block, sizeof block);
    }
    for (; i < tabled; ++i)
        f[i] = k[std::size_t(i)] * step;
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
}

void PackedPeakFrames::readFromWithAxis(CMemoryStream& stream)
{
    readFrom(stream);
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
    // level count, read at once. A frame of n = 0 may be shorter; it decodes
    // empty either way.
    unsigned char head[12];
    const std::int32_t headSize = sharedAxis ? 8 : 12;
    CMemoryStream stream(&bytes, offsets[std::size_t(index)]);
    if (!stream.read(head, headSize))
        return false;
    const auto n = std::int32_t(littleEndian32(head));
    const float step = std::bit_cast<float>(littleEndian32(head + 4));
    const auto count = std::int32_t(littleEndian32(head + headSize - 4));
    if (n <= 0 || (sharedAxis && std::size_t(n) > axis.size()))
        return false;
    if (count <= 0 || count > stream.remaining() / 4)
        return false;
    // The peaks are complete only where all three vectors hold a value.
    const std::int32_t peaks = std::min(n, count);
    out.mags.resize(std::size_t(peaks));
    readFloats(stream, out.mags.data(), peaks);
    if (sharedAxis) {
        out.freqs.assign(axis.begin(), axis.begin() + peaks);
    } else {
        out.freqs.resize(std::size_t(peaks));
        harmonicsOf(step, out.freqs.data(), peaks);
    }
    out.phases.assign(std::size_t(peaks), 0.0f);
    return true;
}

}  // namespace Halvoren
