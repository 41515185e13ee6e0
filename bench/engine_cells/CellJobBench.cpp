// Thirty seconds sung by a third-generation job from a synthetic bank (60
// notes in joined runs of three and rests), and ten seconds sung by a "3.5"
// job, at hops 128 and 256: the whole job on its worker thread, cell making
// and frame synthesis. Paired with each, the floor: one inverse real FFT of
// 512 points and a windowed overlap-add per frame the job rendered. Goal: at
// most 8 times the floor. Beside them, the construction of a job (opening
// the bank).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/support/JobBench.h"
#include "bench/support/PairedFloor.h"
#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "engine/v3/HVSynthesizer.h"
#include "engine/v3_2/HVSynthesizer.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBank.h"

namespace {

constexpr int kFrameSize = 512;
constexpr float kSeconds = 30.0f;
constexpr float kTwinSeconds = 10.0f;

std::string singingBank(testbank::BankTree& tree, int hop)
{
    return testbank::packageBasePath(tree.addPackage("h" + std::to_string(hop), "3.1", "B",
                                                     testbank::writeSingingBank(testbank::threeSyllableBank(hop))));
}

// Notes every 0.5 s; every fourth is short, so a rest follows it.
void phraseOf(float seconds, HalvorenEngine::SynthScoreV3& score)
{
    static const char* kSymbols[] = {"ma", "sa", "la"};
    static const float kPitches[] = {261.63f, 329.63f, 392.0f, 293.66f};
    score.clear();
    score.leadIn = 0.3f;
    for (int i = 0; i < static_cast<int>(2.0f * seconds); ++i) {
        HalvorenEngine::SynthNoteV3 n;
        n.symbol = kSymbols[i % 3];
        n.timbre = n.crossTimbre = "C4";
        n.start = 0.5f * static_cast<float>(i);
        n.duration = i % 4 == 3 ? 0.2f : 0.5f;
        n.elemTime0 = 1.0f;
        score.notes.push_back(n);
        score.curves[HalvorenEngine::kScorePitch].push_back({n.start, kPitches[i % 4]});
        score.curves[HalvorenEngine::kScorePitch].push_back({n.start + 0.49f, kPitches[i % 4]});
    }
}

using hvbench::ManagerOverride;

template <class Front>
void singFor(benchmark::State& state, float seconds)
{
    const int hop = static_cast<int>(state.range(0));
    ManagerOverride override;
    testbank::BankTree tree("cell_bench");
    const std::string path = singingBank(tree, hop);
    hvbench::OverlapAddFloor floor(kFrameSize, hop);
    hvbench::runPairedWithFloor(state, floor, [&] {
        // A new job each time (its construction is measured apart, well
        // under a millisecond).
        Front synth(path);
        phraseOf(seconds, synth.score());
        hvbench::runJobToEnd(synth);
        return synth.job().framesDrawn();
    });
    state.counters["audio_s"] = seconds;
}

void BM_SingThirtySeconds(benchmark::State& state) { singFor<HalvorenEngineV3::HVSynthesizer>(state, kSeconds); }
BENCHMARK(BM_SingThirtySeconds)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_TwinSingTenSeconds(benchmark::State& state)
{
    singFor<HalvorenEngineV3_2::HVSynthesizer>(state, kTwinSeconds);
}
BENCHMARK(BM_TwinSingTenSeconds)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_JobConstruction(benchmark::State& state)
{
    ManagerOverride override;
    testbank::BankTree tree("cell_bench_make");
    const std::string path = singingBank(tree, 128);
    for (auto _ : state) {
        HalvorenEngineV3::HVSynthesizer synth(path);
        benchmark::DoNotOptimize(&synth);
    }
}
BENCHMARK(BM_JobConstruction)->Unit(benchmark::kMillisecond);

}  // namespace
