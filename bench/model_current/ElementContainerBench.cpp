// Element containers under many overlapping elements: removing them one by
// one, in the order they were made and in a shuffled order, each paired with
// a floor of the reads any removal needs; and placing a whole list at once,
// beside the same work on elements that overlap less.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "bench/support/ThreadClock.h"
#include "model/current/Note.h"

using namespace HVCurrentModel;

namespace {

// Notes of width 1920 at k * spacing + k % 3: with spacing 0 every one is
// over every other; with spacing 1920 every third one runs 2 ticks into the
// next and the others overlap nothing.
std::vector<Note*> makeNotes(int count, int spacing)
{
    std::vector<Note*> notes;
    for (int k = 0; k < count; ++k) {
        auto* n = new Note;
        n->pos = k * spacing + k % 3;
        n->width = 1920;
        notes.push_back(n);
    }
    return notes;
}

// Appends the notes last first, as they stand.
void pushLastFirst(NoteContainer& notes, const std::vector<Note*>& made)
{
    for (size_t k = made.size(); k-- > 0;) notes.push_back(made[k]);
}

// Removes the notes one by one from a container of them in order and
// flagged: in the order made, the overlapping notes are taken from the ends
// of the three runs of equal position (a third and two thirds in, and the
// last), the others always from the front; shuffled, in an order set by a
// fixed seed. The notes are made once and put back between runs. Each
// removal shifts the pointers after it by one place, so its time, and the
// ratio to the floor, grow with n; the flags are settled among the notes
// next to it.
//
// Paired in every run, the floor reads what any removal must: the note and
// its neighbours in order of position, in the same order, from a plain list
// whose indices are found before timing. Both run over the same notes in
// memory, so the cache slows them alike; "ratio" is the removals' time over
// the floor's. Both are timed in this thread's processor time.
void removeOneByOne(benchmark::State& state, int spacing, bool shuffled)
{
    const std::vector<Note*> made = makeNotes(static_cast<int>(state.range(0)), spacing);
    std::vector<Note*> order = made;
    if (shuffled) std::shuffle(order.begin(), order.end(), std::mt19937(5));
    NoteContainer notes;
    pushLastFirst(notes, made);
    notes.sortAndMarkOverlaps();
    const std::vector<Note*> sorted = notes.toVector();
    std::vector<size_t> at;  // each removed note's index in sorted
    for (Note* n : order) at.push_back(notes.indexOf(n));
    int64_t sink = 0;
    hvbench::FloorPairing t;
    for (auto _ : state) {
        notes.assign(sorted);
        notes.markAllOverlaps();
        t.step(state, [&] {
            for (Note* n : order) notes.remove(n);
        });
        t.floor([&] {
            for (size_t i : at) {
                const Note* n = sorted[i];
                sink += n->pos + n->width + n->overlapped;
                if (i > 0) sink += sorted[i - 1]->pos + sorted[i - 1]->overlapped;
                if (i + 1 < sorted.size()) sink += sorted[i + 1]->pos + sorted[i + 1]->overlapped;
            }
            benchmark::DoNotOptimize(sink);
        });
    }
    t.report(state);
    for (Note* n : made) delete n;
}

void BM_RemoveOverlappingNotes(benchmark::State& state) { removeOneByOne(state, 0, false); }
void BM_RemoveSeparateNotes(benchmark::State& state) { removeOneByOne(state, 1920, false); }
void BM_RemoveOverlappingNotesShuffled(benchmark::State& state) { removeOneByOne(state, 0, true); }
void BM_RemoveSeparateNotesShuffled(benchmark::State& state) { removeOneByOne(state, 1920, true); }
BENCHMARK(BM_RemoveOverlappingNotes)->Arg(2000)->Arg(8000)->Arg(32000)->Arg(128000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveSeparateNotes)->Arg(2000)->Arg(8000)->Arg(32000)->Arg(128000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveOverlappingNotesShuffled)->Arg(2000)->Arg(8000)->Arg(32000)->Arg(128000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveSeparateNotesShuffled)->Arg(2000)->Arg(8000)->Arg(32000)->Arg(128000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Times putting fresh notes, appended last first, in order and flagging
// them; making and freeing them is not timed.
void placeAll(benchmark::State& state, int spacing)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        NoteContainer notes;
        std::vector<Note*> made = makeNotes(count, spacing);
        pushLastFirst(notes, made);
        state.ResumeTiming();
        notes.sortAndMarkOverlaps();
        state.PauseTiming();
        notes.clear();
        for (Note* n : made) delete n;
        state.ResumeTiming();
    }
}

void BM_PlaceOverlappingNotes(benchmark::State& state) { placeAll(state, 0); }
void BM_PlaceSeparateNotes(benchmark::State& state) { placeAll(state, 1920); }
BENCHMARK(BM_PlaceOverlappingNotes)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceSeparateNotes)->Arg(60000)->Unit(benchmark::kMillisecond);

}  // namespace
