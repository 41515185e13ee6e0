#pragma once
#include <cstddef>
#include <vector>

namespace Halvoren {

// out[i] = in[0] + ... + in[i]; out takes in's length.
inline void cumulativeSum(const std::vector<float>& in, std::vector<float>& out)
{
    out.assign(in.size(), 0.0f);
    float sum = 0.0f;
    for (std::size_t i = 0; i < in.size(); ++i) {
        sum += in[i];
        out[i] = sum;
    }
}

}  // namespace Halvoren
