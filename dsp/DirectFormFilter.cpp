#include "dsp/DirectFormFilter.h"

#include <vector>

namespace Halvoren {

namespace {
// The general step with the tap count known at compile time, so that the
// compiler unrolls both sums; the order of operations is the general form's.
template <int N>
float fixedStep(float* xHist, const float* b, float* yHist, const float* a, float x)
{
    float y = b[0] * x;
    for (int k = 1; k < N; ++k)
        y += b[k] * xHist[N - 1 - k];
    for (int k = 1; k < N; ++k)
        y -= a[k] * yHist[N - 1 - k];
    for (int k = 0; k + 1 < N - 1; ++k) {
        xHist[k] = xHist[k + 1];
        yHist[k] = yHist[k + 1];
    }
    xHist[N - 2] = x;
    yHist[N - 2] = y;
    return y;
}
}  // namespace

float directFormStepGeneral(float* xHist, const float* b, int nb, float* yHist, const float* a, int na, float x)
{
    float y = b[0] * x;
    for (int k = 1; k < nb; ++k)
        y += b[k] * xHist[nb - 1 - k];
    for (int k = 1; k < na; ++k)
        y -= a[k] * yHist[na - 1 - k];
    if (nb > 1) {
        for (int k = 0; k + 1 < nb - 1; ++k)
            xHist[k] = xHist[k + 1];
        xHist[nb - 2] = x;
    }
    if (na > 1) {
        for (int k = 0; k + 1 < na - 1; ++k)
            yHist[k] = yHist[k + 1];
        yHist[na - 2] = y;
    }
    return y;
}

float directFormStep(float* xHist, const float* b, int nb, float* yHist, const float* a, int na, float x)
{
    if (nb == na) {
        switch (nb) {
        case 2: return fixedStep<2>(xHist, b, yHist, a, x);
        case 3: return fixedStep<3>(xHist, b, yHist, a, x);
        case 4: return fixedStep<4>(xHist, b, yHist, a, x);
        case 5: return fixedStep<5>(xHist, b, yHist, a, x);
        case 6: return fixedStep<6>(xHist, b, yHist, a, x);
        default: break;
        }
    }
    return directFormStepGeneral(xHist, b, nb, yHist, a, na, x);
}

void zeroPhaseFilter(int taps, const float* b, const float* a, const float* in, int n, float* out)
{
    if (taps < 1 || n < 1)
        return;
    std::vector<float> xHist(static_cast<std::size_t>(taps), 0.0f);
    std::vector<float> yHist(static_cast<std::size_t>(taps), 0.0f);
    for (int i = 0; i < n; ++i)
        out[i] = directFormStep(xHist.data(), b, taps, yHist.data(), a, taps, in[i]);
    for (int i = n - 1; i >= 0; --i)
        out[i] = directFormStep(xHist.data(), b, taps, yHist.data(), a, taps, out[i]);
}

}  // namespace Halvoren
