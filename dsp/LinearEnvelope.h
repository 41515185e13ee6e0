#pragma once
// A piecewise-linear curve: points (x, y) in rising x, kept as two parallel
// arrays so that the shared cursor lookup can read them, and the index at
// which the last lookup ended.
#include <cstddef>
#include <vector>

namespace Halvoren {

struct LinearEnvelope {
    int cursor = 0;
    std::vector<float> xs;
    std::vector<float> ys;

    std::size_t size() const { return xs.size(); }

    void clear()
    {
        cursor = 0;
        xs.clear();
        ys.clear();
    }

    // Appends a point; callers append in rising x.
    void addPoint(float x, float y)
    {
        xs.push_back(x);
        ys.push_back(y);
    }
};

}  // namespace Halvoren
