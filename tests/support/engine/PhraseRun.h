#pragma once
// Sings a score through an engine front on its worker and measures the
// 16-bit output: f0 by autocorrelation and the largest sample-to-sample step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "support/engine/TestGeneration.h"

namespace enginetest {

// One run of the front's score to its end; the output as it stands then.
template <class Front>
std::vector<short> singOnce(Front& synth)
{
    HalvorenEngineTest::CountingListener listener;
    synth.setListener(&listener);
    synth.start();
    EXPECT_TRUE(HalvorenEngineTest::eventually([&] { return listener.calls.load() == 1; }));
    int count = 0;
    const short* samples = synth.getOutput(&count);
    std::vector<short> out(samples, samples + count);
    synth.stop();
    EXPECT_TRUE(HalvorenEngineTest::eventually([&] { return synth.isReady(); }));
    synth.setListener(nullptr);
    return out;
}

// f0 by autocorrelation over x[from .. to) between lo and hi Hz, the lag
// peak refined by a parabola.
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
    return rate / (best + 0.5 * (a - c) / (a - 2.0 * b + c));
}

// The largest |x[n] - x[n-1]| over x[from .. to).
inline int maxStep(const std::vector<short>& x, int from, int to)
{
    int step = 0;
    for (int n = std::max(1, from); n < std::min<int>(to, static_cast<int>(x.size())); ++n)
        step = std::max(step, std::abs(x[n] - x[n - 1]));
    return step;
}

}  // namespace enginetest
