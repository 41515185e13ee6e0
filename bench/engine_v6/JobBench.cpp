// A whole sixth-generation job per second of audio: three notes of one
// second each walked into cells, every cell's parts made from cached
// records and every frame rendered (band noise, harmonics at 110 Hz, the
// glottal flow curve) and overlap-added into the output, at hop 128 and
// 256. Paired with it, the floor: one inverse real FFT of 512 points and a
// windowed overlap-add per frame the job rendered. Goal: at most 8 times
// the floor in CPU time (cpu_ratio) in the Release build. The label gives
// the build type and a checksum of the samples: speed-ups that keep the
// output bit-identical keep it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "bench/support/PairedFloor.h"
#include "dsp/SampleOutWriter.h"
#include "engine/v6/BuildCells.h"
#include "engine/v6/CellParts.h"
#include "engine/v6/FrameSynth.h"
#include "engine/v6/SourceStore_pkg.h"
#include "lyrics/v6/CVVCMgr.h"
#include "platform/Rand.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBankV6.h"

namespace {

constexpr float kNoteSeconds = 1.0f;
constexpr int kNotes = 3;
constexpr float kF0 = 110.0f;
constexpr float kLeadIn = 0.3f;

struct RenderingListener : HalvorenEngineV6::ICellBuildingListener {
    RenderingListener(HalvorenEngineV6::FrameSynth& s, HalvorenEngine::SampleOutWriter& w) : synth(s), writer(w) {}
    void onCellBuilt(Halvoren::SynthFrameV6& frame) override
    {
        harmonics += static_cast<long>(frame.peaks.size());
        ++frames;
        synth.renderFrame(frame, writer);
    }
    HalvorenEngineV6::FrameSynth& synth;
    HalvorenEngine::SampleOutWriter& writer;
    long frames = 0;
    long harmonics = 0;
};

void threeNotes(HalvorenEngine::SynthScoreV3& score)
{
    static const char* kSymbols[] = {"ka", "ma", "a"};
    score.clear();
    score.leadIn = kLeadIn;
    for (int i = 0; i < kNotes; ++i) {
        HalvorenEngine::SynthNoteV3 n;
        n.symbol = kSymbols[i % 3];
        n.timbre = "C4";
        n.start = kNoteSeconds * static_cast<float>(i);
        n.duration = kNoteSeconds;
        n.elemTime0 = 0.5f;
        score.notes.push_back(n);
    }
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kF0}, {100.0f, kF0}};
}

void BM_JobPerSecond(benchmark::State& state)
{
    const int hop = static_cast<int>(state.range(0));
    // The noise draws start from the same place in every repetition.
    hvSrand(1);
    testbank::BankTree tree("v6_job_bench_" + std::to_string(hop));
    testbank::SingingBankV6 bank = testbank::phraseBankV6(1, hop);
    const std::string path =
        testbank::packageBasePath(tree.addPackage("b", "6.1", "B", testbank::writeSingingBankV6(bank)));
    HalvorenEngineV6::SourceStore_pkg store(path);
    HalvorenEngineV6::CellMakerState cells(store.getSampleRate());
    cells.attachStore(store);
    auto symbols = std::make_unique<HalvorenEngineV6::CVVCMgr>();
    symbols->parseTable(store.getLanguage());
    cells.setSymbols(std::move(symbols));
    HalvorenEngineV6::FrameSynth synth(store.getSampleRate(), hop, store.getParam8(), store.getPowerAmount(),
                                       store.getPowerCentre(), store.getPowerWidth(), store.getHarmLevel(),
                                       store.getNoiseRatio(), store.getParam28(),
                                       static_cast<int>(store.getBandEdges().size()), store.getBandEdges().data(),
                                       store.getLayoutBandCount());
    HalvorenEngine::OutputBuffer buffer(4096);
    HalvorenEngine::SampleOutWriter writer(buffer, HalvorenEngineV6::FrameSynth::kFrameSize, hop);
    RenderingListener listener(synth, writer);
    HalvorenEngine::SynthScoreV3 score;
    threeNotes(score);
    const float seconds = kLeadIn + kNotes * kNoteSeconds;
    const int planned = static_cast<int>(seconds * store.getSampleRate()) / hop + 1;
    auto run = [&] {
        writer.appendZeros(planned);
        HalvorenEngineV6::buildCells(cells, score, listener, &HalvorenEngineV6::makeCellFrames);
        writer.finish();
    };
    // The first run loads the records; every measured run finds them cached.
    run();
    const long frames = listener.frames;
    const long harmonics = listener.harmonics;
    // FNV-1a over the first run's samples.
    std::uint32_t checksum = 2166136261u;
    for (int i = 0; i < writer.length(); ++i)
        checksum = (checksum ^ static_cast<std::uint16_t>(writer.data()[i])) * 16777619u;
    hvbench::OverlapAddFloor floor(HalvorenEngineV6::FrameSynth::kFrameSize, hop);
    hvbench::runPairedWithFloor(state, floor, [&] {
        run();
        return writer.framesDrawn();
    });
    state.counters["harmonics_per_frame"] = frames > 0 ? static_cast<double>(harmonics) / frames : 0.0;
    char sum[24];
    std::snprintf(sum, sizeof sum, "checksum=%08x", static_cast<unsigned>(checksum));
    hvbench::labelBuildType(state, sum);
}
BENCHMARK(BM_JobPerSecond)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
