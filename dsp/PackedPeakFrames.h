#pragma once
// Peak frames kept packed in a byte buffer and decoded one at a time. A frame
// is an int32 count n and, when n > 0, a float step (only when the frames
// share no axis), then a float array of levels; frequency i is axis[i] or
// (i + 1) * step, and every phase is 0.
#include <cstdint>
#include <vector>

#include "dsp/CMemoryBuffer.h"
#include "dsp/CMemoryStream.h"
#include "dsp/PeakList.h"

namespace Halvoren {

class PackedPeakFrames {
public:
    PackedPeakFrames() : bytes(128) {}
    virtual ~PackedPeakFrames() = default;
    PackedPeakFrames(const PackedPeakFrames&) = delete;
    PackedPeakFrames& operator=(const PackedPeakFrames&) = delete;

    // Clears everything, then reads axisLength (int32), axisStep (float) and
    // frameCount (int32), the int32 array of frame offsets and the frame
    // bytes. When axisStep is above 0 the frames share the axis, which is
    // then built as readFromWithAxis builds it.
    void readFrom(CMemoryStream& stream);
    // readFrom, then the shared axis: axisLength values (i + 1) * axisStep
    // (at most one per 4 frame bytes held, as no frame can use more).
    void readFromWithAxis(CMemoryStream& stream);

    // Decodes frame index into out. An index outside the frames or the
    // offsets, a frame whose bytes pass the end of the buffer, or a count
    // beyond the axis gives an empty frame.
    void getFrame(int index, PeakList& out) const;

    CMemoryBuffer bytes;
    std::vector<std::int32_t> offsets;
    std::vector<float> axis;
    std::int32_t frameCount = 0;
    float axisStep = -1.0f;
    std::int32_t axisLength = 0;

private:
    void buildAxis();
    bool decodeFrame(int index, PeakList& out) const;
};

}  // namespace Halvoren
