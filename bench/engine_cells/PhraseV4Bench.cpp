// Ten seconds sung by a fourth-generation job from a synthetic bank: a
// phrase of four notes and a rest (joins through a voiced tail and into a
// vowel, one cross timbre, releases) repeated every 2.5 s, at hops 128 and
// 256, with the job's records already loaded by a first run. Paired with it,
// the floor: one inverse real FFT of 512 points and a windowed overlap-add
// per frame the job rendered. Goal: at most 8 times the floor.
#include <benchmark/benchmark.h>


#include "bench/support/JobBench.h"
#include "bench/support/PairedFloor.h"
#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "engine/v4/HVSynthesizer.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBank.h"

namespace {

constexpr int kFrameSize = 512;
constexpr float kSeconds = 10.0f;

void tenSeconds(HalvorenEngine::SynthScoreV3& score)
{
    struct Note {
        const char* symbol;
        float start, duration, pitch;
    };
    static const Note kPhrase[] = {
        {"ma", 0.0f, 0.6f, 261.63f},
        {"la", 0.6f, 0.6f, 329.63f},
        {"a", 1.2f, 0.4f, 392.0f},
        {"sa", 2.0f, 0.4f, 293.66f},
    };
    score.clear();
    score.leadIn = 0.3f;
    for (int r = 0; r < 4; ++r) {
        for (const Note& p : kPhrase) {
            HalvorenEngine::SynthNoteV3 n;
            n.symbol = p.symbol;
            n.timbre = n.crossTimbre = "C4";
            if (p.symbol[0] == 'a')
                n.crossTimbre = "G4";
            n.start = 2.5f * static_cast<float>(r) + p.start;
            n.duration = p.duration;
            n.elemTime0 = 1.0f;
            score.notes.push_back(n);
            score.curves[HalvorenEngine::kScorePitch].push_back({n.start, p.pitch});
            score.curves[HalvorenEngine::kScorePitch].push_back({n.start + p.duration - 0.01f, p.pitch});
        }
    }
    score.curves[HalvorenEngine::kScoreCross] = {{0.0f, 0.5f}};
}

void BM_SingTenSecondsV4(benchmark::State& state)
{
    const int hop = static_cast<int>(state.range(0));
    HalvorenEngine::CleanGarbageSynthRunnable manager{5};
    HalvorenEngine::setEngineManagerOverride(&manager);
    {
        testbank::BankTree tree("cell_bench_v4");
        const std::string path = testbank::packageBasePath(tree.addPackage(
            "h" + std::to_string(hop), "4.0", "B", testbank::writeSingingBank(testbank::cvvcBankV4(hop))));
        HalvorenEngineV4::HVSynthesizer synth(path);
        tenSeconds(synth.score());
        hvbench::runJobToEnd(synth);  // loads the records
        hvbench::OverlapAddFloor floor(kFrameSize, hop);
        hvbench::runPairedWithFloor(state, floor, [&] {
            hvbench::runJobToEnd(synth);
            return synth.job().framesDrawn();
        });
    }
    HalvorenEngine::setEngineManagerOverride(nullptr);
    state.counters["audio_s"] = kSeconds;
}
BENCHMARK(BM_SingTenSecondsV4)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
