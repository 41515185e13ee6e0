// Overlap-add cost per frame at the third generation's frame size, for the
// hops the banks use. One second of output at 44100 Hz is 44100 / hop frames.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/SampleOutWriter.h"

static void BM_AddFrame(benchmark::State& state)
{
    const int frameSize = 512;
    const int hop = static_cast<int>(state.range(0));
    const int frames = 44100 / hop;
    HalvorenEngine::OutputBuffer buffer(4096);
    HalvorenEngine::SampleOutWriter writer(buffer, frameSize, hop);
    const std::vector<float> frame(frameSize, 0.001f);
    for (auto _ : state) {
        writer.appendZeros(frames);
        for (int k = 0; k < frames; ++k)
            writer.addFrame(k, frame.data(), 1.0f);
        writer.finish();
        benchmark::DoNotOptimize(writer.data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_AddFrame)->Arg(128)->Arg(256);
