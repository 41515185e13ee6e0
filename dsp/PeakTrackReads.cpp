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
    if (frames > 0)
        stream.holds(std::int64_t(frames) * 4);
    return std::clamp(frames, 0, stream.remaining() / 4);
}

// The allocator's own bytes beside every heap block.
constexpr std::uint64_t kHeapBlockBytes = 16;
// An empty frame: its list, and its slot in the tracks (whose room doubles).
constexpr std::uint64_t kFrameBytes = sizeof(PeakList) + kHeapBlockBytes + 2 * sizeof(void*);

std::uint64_t arrayBytes(const std::vector<float>& values)
{
    return values.capacity() == 0 ? 0 : kHeapBlockBytes + values.capacity() * sizeof(float);
}

// Appends `frames` lists, reading for each its int32 count n (kept from
// the frame before when it cannot be read) and, when n > 0, decode(list, n).
// Stops where the budget, when given, is spent.
template <class Decode>
void readFrames(CMemoryStream& stream, PeakTracks& tracks, std::int32_t frames, ReadBudget* budget, Decode decode)
{
    std::int32_t n = 0;
    for (std::int32_t f = 0; f < frames; ++f) {
        if (budget && !budget->takeRecord(kFrameBytes))
            return;
        PeakList& list = tracks.appendFrame();
        stream.readInt32(n);
        if (n <= 0)
            continue;
        decode(list, n);
        if (budget && !budget->takeRecord(arrayBytes(list.freqs) + arrayBytes(list.mags) + arrayBytes(list.phases)))
            return;
    }
}
}  // namespace

void readPeakTracks(CMemoryStream& stream, PeakTracks& tracks, ReadBudget* budget)
{
    tracks.clear();
    readFrames(stream, tracks, readFrameCount(stream), budget, [&](PeakList& list, std::int32_t) {
        stream.readFloatArray(list.freqs);
        stream.readFloatArray(list.mags);
        stream.readFloatArray(list.phases);
        list.truncate(list.size());
    });
}

void readHarmonicTracks(CMemoryStream& stream, PeakTracks& tracks, ReadBudget* budget)
{
    tracks.clear();
    float step = 0.0f;
    stream.readFloat(step);
    readFrames(stream, tracks, readFrameCount(stream), budget, [&](PeakList& list, std::int32_t n) {
        stream.readFloatArray(list.mags);
        const std::size_t count = std::min(list.mags.size(), static_cast<std::size_t>(n));
        list.mags.resize(count);
        list.freqs.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            list.freqs[i] = static_cast<float>(i + 1) * step;
        list.phases.assign(count, 0.0f);
    });
}

}  // namespace Halvoren
