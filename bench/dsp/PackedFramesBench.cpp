// Decoding one packed frame of 100 peaks, beside its floor: a memcpy of the
// frame's bytes. The decode benchmark also times both in the same run and
// reports decode / copy as "ratio" (the goal is 4 or less).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "bench/support/BuildType.h"
#include "dsp/PackedPeakFrames.h"

using namespace Halvoren;

namespace {
constexpr int kPeaks = 100;

// One frame: n, the step, then the level array (count and values).
std::vector<char> frameBytes()
{
    std::vector<char> bytes(4 * (3 + kPeaks));
    std::size_t at = 0;
    auto put = [&](const void* p) {
        std::memcpy(bytes.data() + at, p, 4);
        at += 4;
    };
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

void copyFrame(const std::vector<char>& bytes, std::vector<char>& copy)
{
    std::memcpy(copy.data(), bytes.data(), bytes.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
}

// Nanoseconds per call of f, the best of several timed runs.
template <class F>
double nanosPerCall(F f)
{
    constexpr int kCalls = 200000;
    double best = 1e30;
    for (int run = 0; run < 7; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kCalls; ++i)
            f();
        const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count() / kCalls);
    }
    return best;
}

void BM_PackedPeakFrame100(benchmark::State& state)
{
    const std::vector<char> bytes = frameBytes();
    PackedPeakFrames frames;
    frames.bytes.bytes().putSamples(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    frames.offsets = {0};
    frames.frameCount = 1;
    PeakList out;
    auto decode = [&] {
        frames.getFrame(0, out);
        benchmark::DoNotOptimize(out.mags.data());
        benchmark::ClobberMemory();
    };
    for (auto _ : state)
        decode();
    std::vector<char> copy(bytes.size());
    state.counters["ratio"] = nanosPerCall(decode) / nanosPerCall([&] { copyFrame(bytes, copy); });
    hvbench::labelBuildType(state);
}
BENCHMARK(BM_PackedPeakFrame100);

void BM_PackedPeakFrame100MemcpyFloor(benchmark::State& state)
{
    const std::vector<char> bytes = frameBytes();
    std::vector<char> copy(bytes.size());
    for (auto _ : state)
        copyFrame(bytes, copy);
}
BENCHMARK(BM_PackedPeakFrame100MemcpyFloor);
}  // namespace
