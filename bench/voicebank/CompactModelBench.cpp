// Reading a compact voice model of 200 frames with one second of samples,
// beside the floor of copying its bytes; and 1,000 hits in a source cache,
// beside the floor of 1,000 std::map::find calls with keys built beforehand.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dsp/CMemoryBuffer.h"
#include "dsp/CMemoryStream.h"
#include "tools/bankwriter/CompactModelWriter.h"
#include "voicebank/v6/HvVoiceModelCompact.h"
#include "voicebank/v6/SrcCache.h"

namespace {

std::string modelBytes()
{
    bankwriter::CompactModel m;
    m.samples.assign(44100, 0);
    for (std::size_t i = 0; i < m.samples.size(); ++i)
        m.samples[i] = std::int16_t((i * 37) % 2000 - 1000);
    for (int f = 0; f < 200; ++f) {
        m.peakFrames.push_back({220.0f, std::vector<float>(50, -0.5f * float(f % 20))});
        m.mags1.push_back(std::vector<float>(60, -40.0f));
        m.floats1.push_back(220.0f);
        m.mags2.push_back(std::vector<float>(50, 0.1f));
        m.mags3.push_back(std::vector<float>(100, -12.0f));
        m.ints1.push_back(f % 270);
        m.floats2.push_back(0.0f);
        m.mags4.push_back(std::vector<float>(8, -50.0f));
        m.floats3.push_back(1.0f);
    }
    return bankwriter::compactModelBytes(m);
}

void BM_CompactModelRead(benchmark::State& state)
{
    const std::string bytes = modelBytes();
    Halvoren::CMemoryBuffer buffer;
    buffer.bytes().putSamples(bytes.data(), std::uint32_t(bytes.size()));
    for (auto _ : state) {
        Halvoren::CMemoryStream stream(&buffer);
        HVVM_V0::HvVoiceModelCompact model(44100.0f);
        model.readFrom(stream);
        benchmark::DoNotOptimize(model.mags3.data.ptrBegin());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}
BENCHMARK(BM_CompactModelRead);

void BM_CompactModelCopyFloor(benchmark::State& state)
{
    const std::string bytes = modelBytes();
    for (auto _ : state) {
        std::vector<char> copy(bytes.size());
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}
BENCHMARK(BM_CompactModelCopyFloor);

constexpr int kUnits = 1000;

std::vector<std::string> unitNames()
{
    std::vector<std::string> units;
    for (int u = 0; u < kUnits; ++u) {
        std::string unit = "u";
        unit += std::to_string(u);
        units.push_back(unit);
    }
    return units;
}

// Serves an empty parameter record for every unit.
struct AnyStore {
    std::unique_ptr<HalvorenEngineV6::SrcParameter> getSrcParameter(const std::string& u, const std::string& p)
    {
        return std::make_unique<HalvorenEngineV6::SrcParameter>(u, p);
    }
};

void BM_SrcCacheHits1000(benchmark::State& state)
{
    const std::vector<std::string> units = unitNames();
    const std::string pitch = "C4";
    AnyStore store;
    HalvorenEngineV6::SrcCache cache;
    for (const std::string& u : units)
        cache.getSrcParameter(store, u, pitch);
    for (auto _ : state) {
        for (const std::string& u : units)
            benchmark::DoNotOptimize(cache.getSrcParameter(store, u, pitch));
    }
}
BENCHMARK(BM_SrcCacheHits1000);

void BM_MapFind1000Floor(benchmark::State& state)
{
    const std::vector<std::string> units = unitNames();
    std::map<std::string, std::unique_ptr<int>> map;
    std::vector<std::string> keys;
    for (const std::string& u : units) {
        keys.push_back(u + "_C4");
        map.emplace(keys.back(), std::make_unique<int>(0));
    }
    for (auto _ : state) {
        for (const std::string& k : keys)
            benchmark::DoNotOptimize(map.find(k)->second.get());
    }
}
BENCHMARK(BM_MapFind1000Floor);

}  // namespace
