// Analysing one second of a voiced recording (harmonics, then residual)
// beside its floor: as many forward+inverse 4096-point transform pairs as
// the analysis has frames (345). Designing the two gammatone banks is timed
// on its own.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/EngineHprBuilder.h"
#include "dsp/HPR2GHR.h"
#include "dsp/RealFft.h"
#include "dsp/analysis/VoicedSignal.h"

namespace {
constexpr int kPairs = 345;

void BM_AnalyseOneSecond(benchmark::State& state)
{
    const auto pcm = analysistest::toPcm(
        analysistest::plus(analysistest::voicedSamples({}), analysistest::noise(44100, -50.0, 7)));
    HalvorenEngineV3::EngineHprBuilder builder(44100.0f);
    Halvoren::HPR_model model;
    for (auto _ : state) {
        builder.analyse(pcm, model);
        benchmark::DoNotOptimize(model.residual.ptrBegin());
    }
}
BENCHMARK(BM_AnalyseOneSecond)->Unit(benchmark::kMillisecond);

void BM_FftPairs4096Floor(benchmark::State& state)
{
    Halvoren::RealFft fft(4096);
    std::vector<float> x(4096, 0.25f), re(4096), im(4096);
    for (auto _ : state) {
        for (int i = 0; i < kPairs; ++i) {
            fft.forward(x.data(), re.data(), im.data());
            fft.inverse(re.data(), im.data(), x.data());
        }
        benchmark::DoNotOptimize(x.data());
    }
}
BENCHMARK(BM_FftPairs4096Floor)->Unit(benchmark::kMillisecond);

void BM_DesignGammatoneBanks(benchmark::State& state)
{
    for (auto _ : state) {
        Halvoren::HPR2GHR converter(44100.0f);
        benchmark::DoNotOptimize(converter.bankLarge.channels.data());
    }
}
BENCHMARK(BM_DesignGammatoneBanks)->Unit(benchmark::kMillisecond);
}  // namespace
