#include "dsp/FrameMagsStore.h"

#include <type_traits>

#include "dsp/StreamReads.h"
#include "dsp/TruncToInt.h"

namespace Halvoren {

namespace {
template <class T>
void readCompact(CMemoryStream& stream, FastVector<T>& out)
{
    out.clear();
    float stored = 0.0f;
    readRotatedFloat(stream, stored);
    const int count = HalvorenEngine::truncToInt(stored);
    if (count <= 0 || !stream.holds(std::int64_t(count) * 4))
        return;
    const std::int32_t at = stream.getPosition();
    out.resize(std::uint32_t(count));
    readRotatedWords(stream, out.ptrBegin(), count);
    if constexpr (std::is_same_v<T, float>)
        stream.checkFinite(out.ptrBegin(), count, at);
}
}  // namespace

void FrameMagsStore::readFromCompact(CMemoryStream& stream, FastVector<float>& out)
{
    readCompact(stream, out);
}

void FrameMagsStore::readFromCompact(CMemoryStream& stream, FastVector<std::int32_t>& out)
{
    readCompact(stream, out);
}

void FrameMagsStore::clearFrames()
{
    data.clear();
    frameCount = 0;
    offsets.clear();
    counts.clear();
}

void FrameMagsStore::readFrom(CMemoryStream& stream)
{
    clearFrames();
    stream.readInt32(frameSize);
    stream.readFloat(sampleRate);
    stream.readInt32(frameCount);
    readFastVector(stream, offsets);
    readFastVector(stream, counts);
    readFastVector(stream, data);
}

void FrameMagsStore::readFromCompactStream(CMemoryStream& stream)
{
    clearFrames();
    readRotatedInt32(stream, frameSize);
    readRotatedFloat(stream, sampleRate);
    readRotatedInt32(stream, frameCount);
    readFromCompact(stream, offsets);
    readFromCompact(stream, counts);
    readFromCompact(stream, data);
}

void FrameMagsStore::getFrame(int index, FrameMags& out) const
{
    out.clear();
    if (index < 0 || index >= frameCount || std::uint32_t(index) >= offsets.numSamples() ||
        std::uint32_t(index) >= counts.numSamples())
        return;
    const std::int64_t offset = offsets[std::size_t(index)];
    const std::int64_t n = counts[std::size_t(index)];
    if (n <= 0 || offset < 0 || offset + n > std::int64_t(data.numSamples()))
        return;
    out.putSamples(data.ptrBegin() + offset, std::uint32_t(n));
    out.frameSize = frameSize;
    out.sampleRate = sampleRate;
}

}  // namespace Halvoren
