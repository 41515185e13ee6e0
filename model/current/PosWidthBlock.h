#pragma once
// Bases of the elements placed on a time line: notes and segments.
#include <cstdint>

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

// True when the half-open spans of a and b intersect.
inline bool spansOverlap(const PosWidthBlock& a, const PosWidthBlock& b)
{
    return int64_t{a.pos} + a.width > b.pos && int64_t{b.pos} + b.width > a.pos;
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
