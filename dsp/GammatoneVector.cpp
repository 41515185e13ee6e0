#include "dsp/GammatoneVector.h"

#include <algorithm>

namespace Halvoren {

void GammatoneVector::assign(const GammatoneVector& src)
{
    if (&src != this)
        values = src.values;
}

void GammatoneVector::subtract(const GammatoneVector& other)
{
    const std::size_t n = std::min(values.size(), other.values.size());
    for (std::size_t i = 0; i < n; ++i)
        values[i] -= other.values[i];
}

void GammatoneVector::scale(float s)
{
    for (float& v : values)
        v *= s;
}

}  // namespace Halvoren
