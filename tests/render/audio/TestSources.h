#pragma once
// A source with its own samples; `available` moves like a producer would.
#include <cstdint>
#include <vector>

#include "render/audio/AudioSrc.h"

namespace audiotest {

class VecSrc : public AudioSrc {
public:
    explicit VecSrc(std::vector<int16_t> leftData, std::vector<int16_t> rightData = {})  // mono without right
        : l(std::move(leftData)), r(std::move(rightData)) {
        left = l.data();
        right = r.empty() ? nullptr : r.data();
        length = available = static_cast<int>(l.size());
    }
    int availableSamples() const override { return available; }

    std::vector<int16_t> l, r;
    int available = 0;
};

// 1, 2, 3, ...: every mixed frame can be traced.
inline std::vector<int16_t> ramp(int n) {
    std::vector<int16_t> v(n);
    for (int i = 0; i < n; ++i) v[i] = static_cast<int16_t>(1 + i);
    return v;
}

}  // namespace audiotest
