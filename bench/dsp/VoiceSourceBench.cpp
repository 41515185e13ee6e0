// The per-frame voice source and noise of the sixth generation, each beside
// the floor of one 512-point forward real FFT measured in the same run.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/BandNoiseBank.h"
#include "dsp/FreqBox.h"
#include "dsp/LfGlottalModel.h"
#include "dsp/RealFft.h"

using namespace Halvoren;

namespace {
void BM_Floor_ForwardFft512(benchmark::State& state)
{
    RealFft fft(512);
    std::vector<float> in(512), re(512), im(512);
    for (int i = 0; i < 512; ++i)
        in[i] = static_cast<float>((i * 7919) % 512) / 512.0f - 0.5f;
    for (auto _ : state) {
        fft.forward(in.data(), re.data(), im.data());
        benchmark::DoNotOptimize(re.data());
        benchmark::DoNotOptimize(im.data());
    }
}
BENCHMARK(BM_Floor_ForwardFft512);

// One frame's pulse: the shape changes every frame, over all 270 engine
// shapes and a few relaxed ones.
void BM_LfPulsePerFrame(benchmark::State& state)
{
    LfGlottalModel model;
    std::vector<float> pulse;
    int s = 0;
    for (auto _ : state) {
        model.setRd(static_cast<float>(s + 1) * 0.01f + (s % 9 == 0 ? 1.0f : 0.0f), 1.0f / 180.0f, 1.0f);
        model.buildPulse(pulse);
        benchmark::DoNotOptimize(pulse.data());
        s = (s + 1) % 270;
    }
}
BENCHMARK(BM_LfPulsePerFrame);

void BM_RenderNoiseFrame8(benchmark::State& state)
{
    const float edges[8] = {500, 1000, 2000, 3000, 4500, 6500, 9000, 16000};
    const float levels[8] = {1, 0.8f, 0.6f, 0.5f, 0.4f, 0.3f, 0.2f, 0.1f};
    BandNoiseBank bank(8, 44100.0f, edges);
    FreqBox frame(512);
    for (auto _ : state) {
        renderNoiseFrame(8, bank, levels, frame);
        benchmark::DoNotOptimize(frame.re.data());
    }
}
BENCHMARK(BM_RenderNoiseFrame8);
}  // namespace
