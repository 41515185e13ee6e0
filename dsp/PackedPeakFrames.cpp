#include "dsp/PackedPeakFrames.h"

#include <algorithm>

#include "dsp/StreamReads.h"

namespace Halvoren {

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
    out.clear();
    if (index < 0 || index >= frameCount || std::size_t(index) >= offsets.size())
        return;
    CMemoryStream stream(&bytes, offsets[std::size_t(index)]);
    std::int32_t n = 0;
    if (!stream.readInt32(n) || n <= 0)
        return;
    const bool sharedAxis = axisStep > 0.0f;
    if (sharedAxis && std::size_t(n) > axis.size())
        return;
    float step = 0.0f;
    if (!sharedAxis && !stream.readFloat(step))
        return;
    std::int32_t count = 0;
    stream.readInt32(count);
    if (count <= 0 || count > stream.remaining() / 4)
        return;
    // The peaks are complete only where all three vectors hold a value.
    const std::int32_t peaks = std::min(n, count);
    out.mags.resize(std::size_t(peaks));
    readFloats(stream, out.mags.data(), peaks);
    if (sharedAxis) {
        out.freqs.assign(axis.begin(), axis.begin() + peaks);
    } else {
        out.freqs.resize(std::size_t(peaks));
        for (std::int32_t i = 0; i < peaks; ++i)
            out.freqs[std::size_t(i)] = float(i + 1) * step;
    }
    out.phases.assign(std::size_t(peaks), 0.0f);
}

}  // namespace Halvoren
