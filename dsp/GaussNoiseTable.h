#pragma once
// A fixed table of 1040 Gaussian values (mean 0, variance 1), drawn in index
// order from the project's generator when the table is made.
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
