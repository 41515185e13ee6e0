#include "dsp/LinearEnvelope.h"

#include <algorithm>

#include "dsp/LinearLookup.h"

namespace Halvoren {

namespace {
template <class Y>
void rebuild(LinearEnvelope& env, const GammatoneVector& x, const Y& y, std::size_t ySize)
{
    const std::size_t n = std::min(x.values.size(), ySize);
    env.cursor = 0;
    env.xs.assign(x.values.begin(), x.values.begin() + static_cast<std::ptrdiff_t>(n));
    env.ys.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        env.ys[i] = y[i];
}
}  // namespace

void LinearEnvelope::setPoints(const GammatoneVector& x, const FastVector<float>& y)
{
    rebuild(*this, x, y, y.numSamples());
}

void LinearEnvelope::setPointsFromBands(const GammatoneVector& x, const GammatoneVector& y)
{
    rebuild(*this, x, y.values, y.values.size());
}

void LinearEnvelope::setValues(const GammatoneVector& y)
{
    const std::size_t n = std::min(ys.size(), y.values.size());
    std::copy_n(y.values.begin(), n, ys.begin());
}

float LinearEnvelope::valueAt(float x)
{
    const auto count = static_cast<int>(std::min(xs.size(), ys.size()));
    LinearLookup lookup;
    lookup.reset(count, xs.data(), ys.data());
    lookup.cursor = cursor;
    const float value = lookup.valueAt(x);
    cursor = lookup.cursor;
    return value;
}

}  // namespace Halvoren
