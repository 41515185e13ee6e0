#pragma once
// One frame of gammatone band values, one float per band.
#include <vector>

namespace Halvoren {

class GammatoneVector {
public:
    virtual ~GammatoneVector() = default;

    // This vector becomes a copy of src (empty when src is empty).
    void assign(const GammatoneVector& src);
    // values[i] -= other.values[i] over the shorter of the two lengths.
    void subtract(const GammatoneVector& other);
    // values[i] *= s.
    void scale(float s);

    std::vector<float> values;
};

}  // namespace Halvoren
