// The sixth-generation cell loop over cells of 10 s at hop 128 (3445 frames
// each), records cached: the walk, the fetches and, for every frame, a model
// frame read by a cell maker, its harmonics at 110 Hz and the frame record
// completed with the score's curves and handed to a listener. The stand-in
// cell maker sings each cell's body; the cell parts replace it. Paired with
// it, the floor: one inverse real FFT of 512 points and a windowed
// overlap-add per frame the loop made.
#include <benchmark/benchmark.h>

#include "bench/support/PairedFloor.h"
#include "engine/v6/BuildCells.h"
#include "engine/v6/BuildHarmonics.h"
#include "engine/v6/CellMakers.h"
#include "engine/v6/FetchRecords.h"
#include "engine/v6/SourceStore_pkg.h"
#include "lyrics/v6/CVVCMgr.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBankV6.h"

namespace {

constexpr int kHop = 128;
constexpr int kCells = 3;
constexpr float kCellSeconds = 10.0f;
constexpr float kF0 = 110.0f;

struct DiscardingListener : HalvorenEngineV6::ICellBuildingListener {
    void onCellBuilt(Halvoren::SynthFrameV6& frame) override
    {
        benchmark::DoNotOptimize(frame.peaks.size());
        ++frames;
    }
    long frames = 0;
};

// The unit's body walked over the whole cell.
void singBody(const HalvorenEngineV6::CellRecord& cell, HalvorenEngineV6::CellMakerState& state,
              HalvorenEngine::CellListCache& list)
{
    HalvorenEngineV6::VoiceSrc* m =
        HalvorenEngineV6::fetchVoiceSrc(cell.names.unit, cell.names.timbre, state, cell.followsTransition != 0);
    if (m == nullptr || m->material == nullptr)
        return;
    HalvorenEngineV6::CellMakerCore_FromStdModel maker;
    maker.span.set(state.modelFrameFlag(), state.framePeriod(), state.headTime(), cell.cellStart, 0,
                   state.upperRatio(), state.neutralRatio(), state.lowerRatio(), &state.analyser(),
                   &state.bandLayout(), &state.frequencyGrid());
    maker.setUp(18, m->v6Param3, m->v6Param4 - m->v6Param3, cell.cellLength, *m->material);
    HalvorenEngineV6::ModelFrame scratch;
    Halvoren::SynthFrameV6 frame;
    std::int32_t counter = 0;
    for (int i = 0; i < cell.cellLength; ++i) {
        float ref = 0.0f;
        if (!maker.make(i, frame.levelDb, frame.trackFrame, ref, kF0, scratch))
            break;
        HalvorenEngineV6::buildHarmonicsFromModel(scratch.harmonics, kF0, scratch.row, scratch.gainDb, ref,
                                                  state.sampleRate(), frame.peaks);
        frame.glottalShape = scratch.row;
        frame.refValue = ref;
        frame.noiseBands.assign(scratch.noiseBands);
        frame.mags.assign(scratch.noiseLevels);
        frame.modFloor = scratch.modFloor;
        state.emitFrame(frame, cell.cellStart, counter, list);
    }
}

void tenSecondCells(HalvorenEngine::SynthScoreV3& score)
{
    static const char* kSymbols[] = {"ka", "ma", "a"};
    score.clear();
    score.leadIn = 0.3f;
    for (int i = 0; i < kCells; ++i) {
        HalvorenEngine::SynthNoteV3 n;
        n.symbol = kSymbols[i % 3];
        n.timbre = "C4";
        n.start = kCellSeconds * static_cast<float>(i);
        n.duration = kCellSeconds;
        n.elemTime0 = 0.5f;
        n.breakAfter = 1;
        score.notes.push_back(n);
    }
}

void BM_CellLoopTenSecondCells(benchmark::State& state)
{
    testbank::BankTree tree("v6_cell_bench");
    const std::string path = testbank::packageBasePath(tree.addPackage(
        "b", "6.1", "B", testbank::writeSingingBankV6(testbank::phraseBankV6(1, kHop))));
    HalvorenEngineV6::SourceStore_pkg store(path);
    HalvorenEngineV6::CellMakerState cells(44100.0f);
    cells.attachStore(store);
    auto symbols = std::make_unique<HalvorenEngineV6::CVVCMgr>();
    symbols->parseTable(store.getLanguage());
    cells.setSymbols(std::move(symbols));
    DiscardingListener listener;
    HalvorenEngine::SynthScoreV3 score;
    tenSecondCells(score);
    // The first run loads the records; every measured run finds them cached.
    HalvorenEngineV6::buildCells(cells, score, listener, &singBody);
    hvbench::OverlapAddFloor floor(512, kHop);
    hvbench::runPairedWithFloor(state, floor, [&] {
        const long before = listener.frames;
        HalvorenEngineV6::buildCells(cells, score, listener, &singBody);
        return static_cast<int>(listener.frames - before);
    });
}
BENCHMARK(BM_CellLoopTenSecondCells)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
