#include "dsp/Spline.h"

namespace Halvoren {

namespace {
// Knots that do not ascend would divide by zero: such an interval counts as flat.
float slope(float dy, float dx) { return dx > 0.0f ? dy / dx : 0.0f; }
}  // namespace

void splineSecondDerivs(std::vector<float>& y2, const float* x, const float* y, int n)
{
    y2.assign(n > 0 ? static_cast<std::size_t>(n) : 0, 0.0f);
    if (n < 2)
        return;
    std::vector<float> u(static_cast<std::size_t>(n), 0.0f);
    y2[0] = -0.5f;
    const float h0 = x[1] - x[0];
    u[0] = h0 > 0.0f ? (3.0f / h0) * slope(y[1] - y[0], h0) : 0.0f;
    for (int i = 1; i < n - 1; ++i) {
        const float span = x[i + 1] - x[i - 1];
        const float sig = span > 0.0f ? (x[i] - x[i - 1]) / span : 0.5f;
        const float p = sig * y2[i - 1] + 2.0f;
        y2[i] = (sig - 1.0f) / p;
        const float curvature = slope(y[i + 1] - y[i], x[i + 1] - x[i]) - slope(y[i] - y[i - 1], x[i] - x[i - 1]);
        const float scaled = span > 0.0f ? 6.0f * curvature / span : 0.0f;
        u[i] = (scaled - sig * u[i - 1]) / p;
    }
    const float h = x[n - 1] - x[n - 2];
    const float un = h > 0.0f ? (3.0f / h) * (0.0f - slope(y[n - 1] - y[n - 2], h)) : 0.0f;
    y2[n - 1] = (un - 0.5f * u[n - 2]) / (0.5f * y2[n - 2] + 1.0f);
    for (int k = n - 2; k >= 0; --k)
        y2[k] = y2[k] * y2[k + 1] + u[k];
}

namespace {

// The interval lo, lo + 1 that t falls in by bisection, n >= 2.
int searchInterval(const float* x, int n, float t)
{
    int lo = 0;
    int hi = n - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (x[mid] > t)
            hi = mid;
        else
            lo = mid;
    }
    return lo;
}

float valueIn(const std::vector<float>& y2, const float* x, const float* y, float t, int lo)
{
    const int hi = lo + 1;
    const float h = x[hi] - x[lo];
    if (!(h > 0.0f))
        return y[lo];
    const float a = (x[hi] - t) / h;
    const float b = (t - x[lo]) / h;
    return a * y[lo] + b * y[hi] + ((a * a * a - a) * y2[lo] + (b * b * b - b) * y2[hi]) * (h * h) / 6.0f;
}

}  // namespace

float splineValueAt(const std::vector<float>& y2, const float* x, const float* y, float t)
{
    const int n = static_cast<int>(y2.size());
    if (n == 0)
        return 0.0f;
    if (n == 1)
        return y[0];
    return valueIn(y2, x, y, t, searchInterval(x, n, t));
}

SplineReader::SplineReader(const std::vector<float>& y2, const float* x, const float* y) : y2_(y2), x_(x), y_(y)
{
    const int n = static_cast<int>(y2.size());
    for (int i = 0; i + 1 < n; ++i)
        rising_ = rising_ && x[i] <= x[i + 1];  // false with a NaN knot
}

float SplineReader::valueAt(float t)
{
    const int n = static_cast<int>(y2_.size());
    if (n == 0)
        return 0.0f;
    if (n == 1)
        return y_[0];
    if (!rising_)
        return valueIn(y2_, x_, y_, t, searchInterval(x_, n, t));
    // Over rising knots the search ends at the last inner knot not above t
    // (0 when there is none): the walk finds the same one.
    if (lo_ > 0 && x_[lo_] > t)
        lo_ = 0;
    while (lo_ + 1 <= n - 2 && !(x_[lo_ + 1] > t))
        ++lo_;
    return valueIn(y2_, x_, y_, t, lo_);
}

}  // namespace Halvoren
