// Element containers under many overlapping elements: removing them one by
// one, and placing a whole list at once, each beside the same work on
// elements that do not overlap.
#include <benchmark/benchmark.h>

#include <vector>

#include "model/current/Note.h"

using namespace HVCurrentModel;

namespace {

// Notes of width 1920, every one over every other when spacing is 0 and
// none over another when it is 1920.
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

// Times work on a container of fresh notes (pushed last first, then
// readied by prepare); making, readying and freeing them is not timed.
template <class Prepare, class Work>
void onFreshNotes(benchmark::State& state, int spacing, Prepare prepare, Work work)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        NoteContainer notes;
        std::vector<Note*> made = makeNotes(count, spacing);
        for (size_t k = made.size(); k-- > 0;) notes.push_back(made[k]);
        prepare(notes);
        state.ResumeTiming();
        work(notes, made);
        state.PauseTiming();
        notes.clear();
        for (Note* n : made) delete n;
        state.ResumeTiming();
    }
}

void removeOneByOne(benchmark::State& state, int spacing)
{
    onFreshNotes(
        state, spacing, [](NoteContainer& notes) { notes.sortAndMarkOverlaps(); },
        [](NoteContainer& notes, const std::vector<Note*>& made) {
            for (Note* n : made) notes.remove(n);
        });
}

void BM_RemoveOverlappingNotes(benchmark::State& state) { removeOneByOne(state, 0); }
void BM_RemoveSeparateNotes(benchmark::State& state) { removeOneByOne(state, 1920); }
BENCHMARK(BM_RemoveOverlappingNotes)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveSeparateNotes)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

void placeAll(benchmark::State& state, int spacing)
{
    onFreshNotes(
        state, spacing, [](NoteContainer&) {},
        [](NoteContainer& notes, const std::vector<Note*>&) { notes.sortAndMarkOverlaps(); });
}

void BM_PlaceOverlappingNotes(benchmark::State& state) { placeAll(state, 0); }
void BM_PlaceSeparateNotes(benchmark::State& state) { placeAll(state, 1920); }
BENCHMARK(BM_PlaceOverlappingNotes)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceSeparateNotes)->Arg(60000)->Unit(benchmark::kMillisecond);

}  // namespace
