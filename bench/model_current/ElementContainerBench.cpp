// Element containers under many overlapping elements: removing them one by
// one, in the order they were made and in a shuffled order, each beside the
// same shifts on a plain vector of pointers; and placing a whole list at
// once, beside the same work on elements that overlap less.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <vector>

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

// Times work on a container of fresh notes (pushed last first, then
// readied by prepare, which may also reorder the list of notes made);
// making, readying and freeing them is not timed.
template <class Prepare, class Work>
void onFreshNotes(benchmark::State& state, int spacing, Prepare prepare, Work work)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        NoteContainer notes;
        std::vector<Note*> made = makeNotes(count, spacing);
        for (size_t k = made.size(); k-- > 0;) notes.push_back(made[k]);
        prepare(notes, made);
        state.ResumeTiming();
        work(notes, made);
        state.PauseTiming();
        notes.clear();
        for (Note* n : made) delete n;
        state.ResumeTiming();
    }
}

// The notes are put in order and flagged; shuffled, the list of notes made
// (the order they are taken out in) is shuffled by a fixed seed.
void ready(NoteContainer& notes, std::vector<Note*>& made, bool shuffled)
{
    notes.sortAndMarkOverlaps();
    if (shuffled) std::shuffle(made.begin(), made.end(), std::mt19937(5));
}

// In the order made, the overlapping notes are taken from the ends of the
// three runs of equal position (a third and two thirds in, and the last);
// the others always from the front.
void removeOneByOne(benchmark::State& state, int spacing, bool shuffled)
{
    onFreshNotes(
        state, spacing, [shuffled](NoteContainer& notes, std::vector<Note*>& made) { ready(notes, made, shuffled); },
        [](NoteContainer& notes, const std::vector<Note*>& made) {
            for (Note* n : made) notes.remove(n);
        });
}

// The shifts alone: a plain vector holding the same notes loses one at the
// index each removal takes it from (found before timing), without looking it
// up or settling flags.
void shiftOneByOne(benchmark::State& state, int spacing, bool shuffled)
{
    std::vector<size_t> at;
    std::vector<Note*> plain;
    onFreshNotes(
        state, spacing,
        [&](NoteContainer& notes, std::vector<Note*>& made) {
            ready(notes, made, shuffled);
            plain.assign(notes.begin(), notes.end());
            at.clear();
            for (Note* n : made) {
                at.push_back(static_cast<size_t>(std::find(plain.begin(), plain.end(), n) - plain.begin()));
                plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(at.back()));
            }
            plain.assign(notes.begin(), notes.end());
        },
        [&](NoteContainer&, const std::vector<Note*>&) {
            for (size_t i : at) plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(i));
            benchmark::DoNotOptimize(plain.data());
        });
}

void BM_RemoveOverlappingNotes(benchmark::State& state) { removeOneByOne(state, 0, false); }
void BM_RemoveSeparateNotes(benchmark::State& state) { removeOneByOne(state, 1920, false); }
void BM_RemoveOverlappingNotesShuffled(benchmark::State& state) { removeOneByOne(state, 0, true); }
void BM_RemoveSeparateNotesShuffled(benchmark::State& state) { removeOneByOne(state, 1920, true); }
void BM_ShiftOverlappingNotes(benchmark::State& state) { shiftOneByOne(state, 0, false); }
void BM_ShiftSeparateNotes(benchmark::State& state) { shiftOneByOne(state, 1920, false); }
void BM_ShiftOverlappingNotesShuffled(benchmark::State& state) { shiftOneByOne(state, 0, true); }
void BM_ShiftSeparateNotesShuffled(benchmark::State& state) { shiftOneByOne(state, 1920, true); }
BENCHMARK(BM_RemoveOverlappingNotes)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveSeparateNotes)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveOverlappingNotesShuffled)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveSeparateNotesShuffled)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftOverlappingNotes)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftSeparateNotes)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftOverlappingNotesShuffled)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftSeparateNotesShuffled)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

void placeAll(benchmark::State& state, int spacing)
{
    onFreshNotes(
        state, spacing, [](NoteContainer&, std::vector<Note*>&) {},
        [](NoteContainer& notes, const std::vector<Note*>&) { notes.sortAndMarkOverlaps(); });
}

void BM_PlaceOverlappingNotes(benchmark::State& state) { placeAll(state, 0); }
void BM_PlaceSeparateNotes(benchmark::State& state) { placeAll(state, 1920); }
BENCHMARK(BM_PlaceOverlappingNotes)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceSeparateNotes)->Arg(60000)->Unit(benchmark::kMillisecond);

}  // namespace
