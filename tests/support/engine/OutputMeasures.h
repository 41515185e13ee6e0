#pragma once
// Measures of a job's 16-bit output: the fundamental of a stretch by
// autocorrelation, the largest step between neighbouring samples, and
// whether a stretch is silent.
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace enginetest {

// f0 over x[from .. to) between lo and hi Hz, the lag peak refined by a parabola.
inline double autocorrelationF0(const std::vector<short>& x, int from, int to, double lo, double hi, double rate)
{
    const int minLag = static_cast<int>(rate / hi);
    const int maxLag = static_cast<int>(rate / lo) + 1;
    std::vector<double> r(maxLag + 2, 0.0);
    for (int lag = minLag - 1; lag <= maxLag + 1; ++lag)
        for (int n = from; n + lag < to; ++n)
            r[lag] += static_cast<double>(x[n]) * x[n + lag];
    int best = minLag;
    for (int lag = minLag; lag <= maxLag; ++lag)
        if (r[lag] > r[best])
            best = lag;
    const double a = r[best - 1], b = r[best], c = r[best + 1];
    const double shift = 0.5 * (a - c) / (a - 2.0 * b + c);
    return rate / (best + shift);
}

// The largest |x[n] - x[n - 1]| over from <= n - 1, n < to.
inline int maxStep(const std::vector<short>& x, int from, int to)
{
    int step = 0;
    for (int n = std::max(1, from + 1); n < std::min<int>(to, static_cast<int>(x.size())); ++n)
        step = std::max(step, std::abs(x[n] - x[n - 1]));
    return step;
}

// No sample of x[from .. to) beyond +-limit.
inline bool silent(const std::vector<short>& x, int from, int to, int limit = 2)
{
    for (int n = std::max(0, from); n < std::min<int>(to, static_cast<int>(x.size())); ++n)
        if (std::abs(x[n]) > limit)
            return false;
    return true;
}

}  // namespace enginetest
