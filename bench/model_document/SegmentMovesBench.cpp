// Moving every segment of a track at once: the score shift a beat change
// makes, and its undo, at n and 4n sing segments that all overlap one
// another or that stand apart; each beside the floor of a whole-list edit
// over the same segments.
#include <benchmark/benchmark.h>

#include "bench/model_document/SpanFloor.h"
#include "model/document/SSSynthesizerDoc.h"
#include "support/model_document/ProjectBuilder.h"

using namespace HVCurrentModel;

namespace {

// 3/4 instead of 4/4 from measure -3: measure 1 moves from 4 x 1920 = 7680
// to 4 x 1440 = 5760, so every segment moves 1920 ticks left.
constexpr int kShift = -1920;

// Segments 10 ticks apart from tick 1920, each reaching past the last one's
// start (all overlap), or 480 wide and 480 apart (none does).
struct SegmentProject {
    CSSSynthesizerDoc doc;
    SingSegmentContainer* segs = nullptr;

    SegmentProject(int count, bool overlapping) {
        auto m = projtest::markersOnly();
        segs = projtest::addTrack(*m, kSingingTrack)->singSegs;
        const int step = overlapping ? 10 : 480;
        const int width = overlapping ? count * step + 480 : 480;
        for (int i = 0; i < count; ++i) segs->push_back(new SingSegment(1920 + i * step, width));
        segs->sortAndMarkOverlaps();
        doc.newProject(m.release());
    }

    void shift() { doc.editBeat({{doc.getModel()->beats[0], Beat{-3, 3, 4, false}}}); }
};

// The shift, or its undo, timed against the floor over the segments, taken
// before the shift with every span moved as the shift moves it.
void timeShift(benchmark::State& state, bool overlapping) {
    SegmentProject p(static_cast<int>(state.range(0)), overlapping);
    hvbench::FloorPairing t;
    for (auto _ : state) {
        t.floor([&] { hvbench::spanFloor(*p.segs, kShift); });
        t.step(state, [&] { p.shift(); });
        p.doc.undo();
    }
    t.report(state);
}

void timeUndoShift(benchmark::State& state, bool overlapping) {
    SegmentProject p(static_cast<int>(state.range(0)), overlapping);
    hvbench::FloorPairing t;
    for (auto _ : state) {
        t.floor([&] { hvbench::spanFloor(*p.segs, kShift); });
        p.shift();
        t.step(state, [&] { p.doc.undo(); });
    }
    t.report(state);
}

void BM_ShiftOverlappingSegments(benchmark::State& state) { timeShift(state, true); }
void BM_UndoShiftOverlappingSegments(benchmark::State& state) { timeUndoShift(state, true); }
void BM_ShiftSeparateSegments(benchmark::State& state) { timeShift(state, false); }
void BM_UndoShiftSeparateSegments(benchmark::State& state) { timeUndoShift(state, false); }

}  // namespace

BENCHMARK(BM_ShiftOverlappingSegments)->Arg(3750)->Arg(15000)->Arg(60000)->Arg(240000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoShiftOverlappingSegments)->Arg(3750)->Arg(15000)->Arg(60000)->Arg(240000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftSeparateSegments)->Arg(3750)->Arg(15000)->Arg(60000)->Arg(240000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoShiftSeparateSegments)->Arg(3750)->Arg(15000)->Arg(60000)->Arg(240000)->UseManualTime()->Unit(benchmark::kMillisecond);
