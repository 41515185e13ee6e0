#include "dsp/Windows.h"

#include <cmath>
#include <numbers>

namespace Halvoren {

namespace {
// Fills w with f(x), x = 2*pi*i/(n-1); one sample gets the value 1.
template <class F>
void fillCosineWindow(float* w, int n, F f)
{
    if (n <= 0)
        return;
    if (n == 1) {
        w[0] = 1.0f;
        return;
    }
    for (int i = 0; i < n; ++i) {
        const double x = 2.0 * std::numbers::pi * i / (n - 1);
        w[i] = static_cast<float>(f(x));
    }
}
}  // namespace

void makeHammingWindow(float* w, int n)
{
    fillCosineWindow(w, n, [](double x) { return 0.54 - 0.46 * std::cos(x); });
}

void makeBlackmanHarrisWindow(float* w, int n)
{
    fillCosineWindow(w, n, [](double x) {
        return 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
    });
}

void makeBlackmanWindow(float* w, int n)
{
    fillCosineWindow(w, n, [](double x) { return 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2 * x); });
    if (n > 1)
        w[0] = w[n - 1] = 0.0f;
}

void makeTriangularWindow(float* w, int n)
{
    if (n <= 0)
        return;
    const int h = n / 2;
    if (n % 2 == 1) {
        const float step = 1.0f / static_cast<float>(h + 1);
        for (int i = 0; i < h; ++i)
            w[i] = w[n - 1 - i] = static_cast<float>(i + 1) * step;
        w[h] = 1.0f;
    } else {
        const float step = 1.0f / static_cast<float>(h);
        for (int i = 0; i < h; ++i)
            w[i] = w[n - 1 - i] = step / 2.0f + static_cast<float>(i) * step;
    }
}

bool normalizeWindowSum(float* w, int n)
{
    float sum = 0.0f;
    for (int i = 0; i < n; ++i)
        sum += w[i];
    if (sum == 0.0f || !std::isfinite(sum))
        return false;
    for (int i = 0; i < n; ++i)
        w[i] /= sum;
    return true;
}

}  // namespace Halvoren
