#pragma once
// A fixed table of 1040 Gaussian values (mean 0, variance 1), drawn in index
// order when the table is made, from a generator of its own started as a
// fresh thread's is: every table holds the same values.
#include <cstdint>
#include <vector>

namespace Halvoren {

struct GaussNoiseTable {
    static constexpr int kLength = 1040;

    GaussNoiseTable();

    std::int32_t size = 512;
    std::vector<float> values;
};

}  // namespace Halvoren
