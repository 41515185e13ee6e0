#include "dsp/FrameMags.h"

#include <algorithm>

// The buffers' starts are read once per call: ptrBegin() is virtual, and
// the loops then run over plain arrays (several values at once).
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
    float* to = a.ptrBegin();
    const float* from = b.ptrBegin();
    for (std::uint32_t i = 0; i < n; ++i)
        to[i] -= from[i];
}

void frameAdd(FastVector<float>& a, const FastVector<float>& b)
{
    const std::uint32_t n = shorter(a, b);
    float* to = a.ptrBegin();
    const float* from = b.ptrBegin();
    for (std::uint32_t i = 0; i < n; ++i)
        to[i] += from[i];
}

void frameAddScaled(FastVector<float>& a, const FastVector<float>& b, float s)
{
    const std::uint32_t n = shorter(a, b);
    float* to = a.ptrBegin();
    const float* from = b.ptrBegin();
    for (std::uint32_t i = 0; i < n; ++i)
        to[i] += s * from[i];
}

void frameAddScalar(FastVector<float>& a, float c)
{
    const std::uint32_t n = a.numSamples();
    float* to = a.ptrBegin();
    for (std::uint32_t i = 0; i < n; ++i)
        to[i] += c;
}

void frameMix(const FastVector<float>& a, const FastVector<float>& b, float w, FastVector<float>& out)
{
    // Shrinking never moves data, so out may be a or b.
    const std::uint32_t n = shorter(a, b);
    out.resize(n);
    float* to = out.ptrBegin();
    const float* fromA = a.ptrBegin();
    const float* fromB = b.ptrBegin();
    for (std::uint32_t i = 0; i < n; ++i)
        to[i] = (1.0f - w) * fromB[i] + w * fromA[i];
}

}  // namespace Halvoren
