#pragma once
// Bases of the elements placed on a time line: notes and segments.
#include <cstdint>

#include "model/current/TickRange.h"

namespace HVCurrentModel {

class PosWidthBlock {
public:
    PosWidthBlock() = default;
    PosWidthBlock(int32_t pos, int32_t width) : pos(pos), width(width) {}
    virtual ~PosWidthBlock() = default;

    int32_t pos = 0;
    int32_t width = 0;
    // Set by the element containers on both elements of any pair whose
    // half-open spans [pos, pos + width) intersect.
    bool overlapped = false;

protected:
    PosWidthBlock(const PosWidthBlock&) = default;
    PosWidthBlock& operator=(const PosWidthBlock&) = default;
};

// Where a segment's curves have their last default node: one past its width.
inline int32_t curveEndPos(int32_t width) { return clampTick(int64_t{width} + 1); }

// The end of the half-open span, pos + width, in 64 bits.
inline int64_t spanEnd(const PosWidthBlock& b) { return int64_t{b.pos} + b.width; }

// True when the half-open spans of a and b intersect.
inline bool spansOverlap(const PosWidthBlock& a, const PosWidthBlock& b)
{
    return spanEnd(a) > b.pos && spanEnd(b) > a.pos;
}

class BlockWithKey : public PosWidthBlock {
public:
    using PosWidthBlock::PosWidthBlock;
    // Keys count downward in pitch (115 minus the MIDI note number).
    int32_t key = 0;

protected:
    BlockWithKey(const BlockWithKey&) = default;
    BlockWithKey& operator=(const BlockWithKey&) = default;
};

}  // namespace HVCurrentModel
