#include "dsp/PackedBandFrames.h"

#include "dsp/StreamReads.h"

namespace Halvoren {

bool PackedBandFrames::readFrom(CMemoryStream& stream)
{
    bytes.bytes().clear();
    offsets.clear();
    frameCount = 0;
    stream.readInt32(frameCount);
    readIntArray(stream, offsets);
    // readBlob takes a missing length for an empty blob; a cut record is not.
    const bool lengthPresent = stream.remaining() >= 4;
    return readBlob(stream, bytes) && lengthPresent;
}

void PackedBandFrames::getFrame(GammatoneVector& out, int index) const
{
    out.values.clear();
    if (index < 0 || index >= frameCount || std::size_t(index) >= offsets.size())
        return;
    CMemoryStream stream(&bytes, offsets[std::size_t(index)]);
    std::int32_t count = 0;
    stream.readInt32(count);
    if (count <= 0 || count > stream.remaining() / 4)
        return;
    out.values.resize(std::size_t(count));
    readFloats(stream, out.values.data(), count);
}

}  // namespace Halvoren
