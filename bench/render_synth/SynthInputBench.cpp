#include <benchmark/benchmark.h>

#include "support/engine/TestCore.h"

namespace {

using namespace HVCurrentModel;

// Three minutes at 120 BPM (172800 ticks) holding 400 notes of 432 ticks,
// each sung "la" with vibrato over its second half.
struct LongSegment {
    LongSegment() : seg(1920, 172800)
    {
        tempos.push_back(&tempo);
        for (int i = 0; i < 400; ++i) {
            auto* n = new Note();
            n->pos = i * 432;
            n->width = 420;
            n->key = 50 + i % 12;
            n->vibPercent = 50;
            n->vibrato.vibAmp.nodes = NodeContainer{{-1, 6000}, {100001, 6000}};
            n->vibrato.vibFreq.nodes = NodeContainer{{-1, 550}, {100001, 550}};
            n->bendDep = 20;
            seg.notes.insertSorted(n);
        }
    }
    Tempo tempo{0, 12000, false};
    std::vector<Tempo*> tempos;
    SingSegment seg;
};

void BM_PitchLineAndScore(benchmark::State& state)
{
    LongSegment s;
    auto synth = HalvorenEngineTest::makeTestTimbreSynth();
    for (auto _ : state) {
        synth->buildScore(nullptr, s.seg, s.tempos, 0, s.seg.width, 1.5f, true, false);
        benchmark::DoNotOptimize(synth->body().curves[0].data());
    }
    state.counters["nodes"] = static_cast<double>(s.seg.curve(kPitchWorkCurve1).nodes.size());
}
BENCHMARK(BM_PitchLineAndScore)->Unit(benchmark::kMillisecond);

// The floor: appending as many nodes as the rendered line holds.
void BM_AppendNodesFloor(benchmark::State& state)
{
    LongSegment s;
    auto synth = HalvorenEngineTest::makeTestTimbreSynth();
    synth->buildScore(nullptr, s.seg, s.tempos, 0, s.seg.width, 1.5f, true, false);
    const int count = static_cast<int>(s.seg.curve(kPitchWorkCurve1).nodes.size());
    NodeContainer nodes;
    for (auto _ : state) {
        nodes.clear();
        for (int i = 0; i < count; ++i)
            nodes.pushBack({i * 10, 5000 + i % 7});
        benchmark::DoNotOptimize(&nodes.back());
    }
    state.counters["nodes"] = count;
}
BENCHMARK(BM_AppendNodesFloor)->Unit(benchmark::kMillisecond);

}  // namespace
