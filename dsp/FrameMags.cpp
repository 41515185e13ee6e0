#include "dsp/FrameMags.h"

#include <algorithm>

namespace Halvoren {

namespace {
std::uint32_t shorter(const FastVector<float>& a, const FastVector<float>& b)
{
    return std::min(a.numSamples(), b.numSamples());
}
}  // namespace

void frameSubtract(FastVector<float>& a, const FastVector<float>& b)
{
    const std::uint32_t n = shorter(a, b);
    for (std::uint32_t i = 0; i < n; ++i)
        a.ptrBegin()[i] -= b.ptrBegin()[i];
}

void frameAdd(FastVector<float>& a, const FastVector<float>& b)
{
    const std::uint32_t n = shorter(a, b);
    for (std::uint32_t i = 0; i < n; ++i)
        a.ptrBegin()[i] += b.ptrBegin()[i];
}

void frameAddScaled(FastVector<float>& a, const FastVector<float>& b, float s)
{
    const std::uint32_t n = shorter(a, b);
    for (std::uint32_t i = 0; i < n; ++i)
        a.ptrBegin()[i] += s * b.ptrBegin()[i];
}

void frameAddScalar(FastVector<float>& a, float c)
{
    const std::uint32_t n = a.numSamples();
    for (std::uint32_t i = 0; i < n; ++i)
        a.ptrBegin()[i] += c;
}

void frameMix(const FastVector<float>& a, const FastVector<float>& b, float w, FastVector<float>& out)
{
    // Shrinking never moves data, so out may be a or b.
    const std::uint32_t n = shorter(a, b);
    out.resize(n);
    for (std::uint32_t i = 0; i < n; ++i)
        out.ptrBegin()[i] = (1.0f - w) * b.ptrBegin()[i] + w * a.ptrBegin()[i];
}

}  // namespace Halvoren
