// Decoding one packed frame of 100 peaks, beside its floor: a memcpy of the
// frame's bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "dsp/PackedPeakFrames.h"

using namespace Halvoren;

namespace {
constexpr int kPeaks = 100;

// One frame: n, the step, then the level array (count and values).
std::vector<char> frameBytes()
{
    std::vector<char> bytes;
    auto put = [&](const void* p) { bytes.insert(bytes.end(), static_cast<const char*>(p), static_cast<const char*>(p) + 4); };
    const std::int32_t n = kPeaks;
    const float step = 180.0f;
    put(&n);
    put(&step);
    put(&n);
    for (int i = 0; i < kPeaks; ++i) {
        const float level = -0.3f * static_cast<float>(i);
        put(&level);
    }
    return bytes;
}

void BM_PackedPeakFrame100(benchmark::State& state)
{
    const std::vector<char> bytes = frameBytes();
    PackedPeakFrames frames;
    frames.bytes.bytes().putSamples(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    frames.offsets = {0};
    frames.frameCount = 1;
    PeakList out;
    for (auto _ : state) {
        frames.getFrame(0, out);
        benchmark::DoNotOptimize(out.mags.data());
    }
}
BENCHMARK(BM_PackedPeakFrame100);

void BM_PackedPeakFrame100MemcpyFloor(benchmark::State& state)
{
    const std::vector<char> bytes = frameBytes();
    std::vector<char> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PackedPeakFrame100MemcpyFloor);
}  // namespace
