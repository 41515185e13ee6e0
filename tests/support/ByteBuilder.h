#pragma once
// Hand-made little-endian bytes for the inputs of every reader test: the
// bank writer's builder, and the records only the tests build by hand.
#include <cstdint>
#include <utility>
#include <vector>

#include "tools/bankwriter/ByteBuilder.h"

namespace hvtest {

using bankwriter::ByteBuilder;

// A curve record: count, then (pos, value) pairs.
inline ByteBuilder curveBlock(const std::vector<std::pair<int32_t, int32_t>>& nodes)
{
    ByteBuilder b;
    b.u32(static_cast<uint32_t>(nodes.size()));
    for (auto [pos, value] : nodes) b.i32(pos).i32(value);
    return b;
}

}  // namespace hvtest
