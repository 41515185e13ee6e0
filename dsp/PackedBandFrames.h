#pragma once
// Band-value frames kept packed in a byte buffer, each a float array,
// decoded one at a time.
#include <cstdint>
#include <vector>

#include "dsp/CMemoryBuffer.h"
#include "dsp/CMemoryStream.h"
#include "dsp/GammatoneVector.h"

namespace Halvoren {

class PackedBandFrames {
public:
    PackedBandFrames() : bytes(128) {}
    virtual ~PackedBandFrames() = default;
    PackedBandFrames(const PackedBandFrames&) = delete;
    PackedBandFrames& operator=(const PackedBandFrames&) = delete;

    // Clears everything, then reads frameCount (int32), the int32 array of
    // frame offsets and the frame bytes. False when the stream ends before
    // the bytes' length or holds fewer bytes than it says.
    bool readFrom(CMemoryStream& stream);
    // Decodes frame index into out; an index outside the frames or the
    // offsets, or a frame passing the end of the bytes, gives an empty out.
    void getFrame(GammatoneVector& out, int index) const;

    CMemoryBuffer bytes;
    std::vector<std::int32_t> offsets;
    std::int32_t frameCount = 0;
};

}  // namespace Halvoren
