// Ten seconds of a phrase sung by first- and second-generation jobs from the
// test singing banks ("ma" A3, "a" C4 joined, a rest, "la" E4 and "ma" G3
// joined through a continuant, every 3 s): the whole job, both worker
// threads, from start to its end. Paired with each, its floor over the
// frames the job rendered: one forward and one inverse 4096-point real FFT
// and the overlap-add per frame (first generation), or the 512-point
// inverse and the overlap-add (second); the CPU-time ratio counts both
// worker threads. Goals: the first generation at most 3 times its floor,
// the second at most 8 times. Timed apart, the joins that build the
// phrase's synthesis sources.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <vector>

#include "bench/support/JobBench.h"
#include "bench/support/PairedFloor.h"
#include "engine/v1/HVSynthesizer.h"
#include "engine/v2/HVSynthesizer.h"
#include "support/bank/BankTree.h"
#include "support/bank/HprSingingBank.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr float kSeconds = 10.0f;

std::string singingBank(testbank::BankTree& tree, int generation, int hop)
{
    testbank::HprSingingOptions options;
    options.generation = generation;
    options.hop = hop;
    return testbank::packageBasePath(tree.addPackage("g" + std::to_string(generation) + "h" + std::to_string(hop),
                                                     std::to_string(generation), "B",
                                                     testbank::writeHprSingingBank(options)));
}

void tenSeconds(HalvorenEngine::SynthScoreV1& score)
{
    struct Sung {
        float start;
        const char* symbol;
        float hz;
    };
    static const Sung kPhrase[] = {{0.0f, "ma", 220.0f}, {0.5f, "a", 261.63f}, {2.0f, "la", 329.63f},
                                   {2.5f, "ma", 196.0f}};
    score.leadIn = 0.3f;
    for (float cycle = 0.0f; cycle + 3.0f <= kSeconds + 0.5f; cycle += 3.0f) {
        for (const Sung& s : kPhrase) {
            HalvorenEngine::SynthNoteV1 n;
            n.start = cycle + s.start;
            n.duration = 0.499f;
            n.symbol = s.symbol;
            n.pitch = "G4";
            score.notes.push_back(n);
            score.pitch.push_back({n.start, s.hz});
            score.pitch.push_back({n.start + 0.49f, s.hz});
        }
    }
}

using hvbench::ManagerOverride;

template <class Front>
void singTenSeconds(benchmark::State& state, int generation, int frameSize, bool withForward)
{
    const int hop = static_cast<int>(state.range(0));
    ManagerOverride override;
    testbank::BankTree tree("v1v2_bench");
    const std::string path = singingBank(tree, generation, hop);
    hvbench::OverlapAddFloor floor(frameSize, hop, withForward);
    hvbench::runPairedWithFloor(state, floor, [&] {
        Front synth(path);
        synth.score().clear();
        tenSeconds(synth.score());
        hvbench::runJobToEnd(synth);
        return synth.job().framesDrawn();
    });
    state.counters["audio_s"] = kSeconds;
}

void BM_FirstGenerationTenSeconds(benchmark::State& state)
{
    singTenSeconds<HalvorenEngineV1::HVSynthesizer>(state, 1, 4096, true);
}
BENCHMARK(BM_FirstGenerationTenSeconds)->Arg(256)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_SecondGenerationTenSeconds(benchmark::State& state)
{
    singTenSeconds<HalvorenEngineV2::HVSynthesizer>(state, 2, 512, false);
}
BENCHMARK(BM_SecondGenerationTenSeconds)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond)->UseManualTime();

// The phrase's synthesis sources built from the records: "ma" alone, "a"
// alone, "la" through "a_m" into "ma", and "ma" alone at G3.
template <class Store, class Cache, class Make>
void joinPhraseSources(benchmark::State& state, int generation, Make make)
{
    testbank::BankTree tree("v1v2_join_bench");
    Store store(singingBank(tree, generation, 256));
    for (auto _ : state) {
        Cache cache(kRate);
        benchmark::DoNotOptimize(make("ma", "a", "a", "a", cache, store));
        benchmark::DoNotOptimize(make("a", "a", "", "", cache, store));
        benchmark::DoNotOptimize(make("la", "a", "m", "ma", cache, store));
        benchmark::DoNotOptimize(make("ma", "a", "", "", cache, store));
    }
}

void BM_FirstGenerationJoins(benchmark::State& state)
{
    joinPhraseSources<Halvoren::SourceStore_v1Pkg, Halvoren::SynthSrcCache>(
        state, 1, [](const char* u, const char* e, const char* b, const char* c, auto& cache, auto& store) {
            return Halvoren::makeSynthetiseSource(u, e, b, c, "A3", cache, store);
        });
}
BENCHMARK(BM_FirstGenerationJoins)->Unit(benchmark::kMillisecond);

void BM_SecondGenerationJoins(benchmark::State& state)
{
    joinPhraseSources<HalvorenEngineV2::SourceStore_pkg, HalvorenEngineV2::SynthSrcCache>(
        state, 2, [](const char* u, const char* e, const char* b, const char* c, auto& cache, auto& store) {
            return HalvorenEngineV2::makeSynthetiseSource(u, e, b, c, "A3", cache, store);
        });
}
BENCHMARK(BM_SecondGenerationJoins)->Unit(benchmark::kMillisecond);

}  // namespace
