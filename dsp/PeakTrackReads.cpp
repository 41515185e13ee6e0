#include "dsp/PeakTrackReads.h"

#include <algorithm>

namespace Halvoren {

namespace {
// Each frame stores at least its 4-byte count, so a frame count above the
// quarter of the bytes left cannot be genuine and would only build empty lists.
std::int32_t readFrameCount(CMemoryStream& stream)
{
    std::int32_t frames = 0;
    stream.readInt32(frames);
    return std::clamp(frames, 0, stream.remaining() / 4);
}
}  // namespace

void readPeakTracks(CMemoryStream& stream, PeakTracks& tracks)
{
    tracks.clear();
    const std::int32_t frames = readFrameCount(stream);
    std::int32_t n = 0;
    for (std::int32_t f = 0; f < frames; ++f) {
        PeakList& list = tracks.appendFrame();
        stream.readInt32(n);
        if (n <= 0)
            continue;
        stream.readFloatArray(list.freqs);
        stream.readFloatArray(list.mags);
        stream.readFloatArray(list.phases);
        list.truncate(list.size());
    }
}

void readHarmonicTracks(CMemoryStream& stream, PeakTracks& tracks)
{
    tracks.clear();
    float step = 0.0f;
    stream.readFloat(step);
    const std::int32_t frames = readFrameCount(stream);
    std::int32_t n = 0;
    for (std::int32_t f = 0; f < frames; ++f) {
        PeakList& list = tracks.appendFrame();
        stream.readInt32(n);
        if (n <= 0)
            continue;
        stream.readFloatArray(list.mags);
        const std::size_t count = std::min(list.mags.size(), static_cast<std::size_t>(n));
        list.mags.resize(count);
        list.freqs.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            list.freqs[i] = static_cast<float>(i + 1) * step;
        list.phases.assign(count, 0.0f);
    }
}

}  // namespace Halvoren
