// Joining two 512-point models over a 10-frame region, beside its floor: as
// many forward+inverse 512-point transform pairs as the join makes forward
// transforms (42 for the correction, 10 for the region).
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/RealFft.h"
#include "dsp/SourceJoiner.h"
#include "dsp/joins/JoinModels.h"

using namespace Halvoren;
using namespace jointest;

namespace {
constexpr int kPairs = 42 + 10;

void BM_JoinTwo512(benchmark::State& state)
{
    HPR_model a, b, out;
    a.hop = b.hop = kHop;
    const float levels[3] = {-10.0f, -20.0f, -30.0f};
    fillPeaks(a, 60, 100.0f, levels);
    fillPeaks(b, 60, 1000.0f, levels);
    setResidual(a, noise(61 * kHop, 500.0, 1));
    setResidual(b, noise(61 * kHop, 2000.0, 2));
    SourceJoiner joiner;
    joiner.init(kN, kRate);
    for (auto _ : state) {
        joiner.joinTwo(a, b, out, 44, 20, 35, 10);
        benchmark::DoNotOptimize(out.residual.ptrBegin());
    }
}
BENCHMARK(BM_JoinTwo512);

void BM_FftPairs512Floor(benchmark::State& state)
{
    RealFft fft(kN);
    std::vector<float> x(kN, 0.25f), re(kN), im(kN);
    for (auto _ : state) {
        for (int i = 0; i < kPairs; ++i) {
            fft.forward(x.data(), re.data(), im.data());
            fft.inverse(re.data(), im.data(), x.data());
        }
        benchmark::DoNotOptimize(x.data());
    }
}
BENCHMARK(BM_FftPairs512Floor);
}  // namespace
