// Deleting 1,000 selected notes as one operation, and its undo and redo;
// then, at n and 4n notes that each overlap their neighbours, deleting them
// all, its undo, inserting them all (redone) and its undo, moving them all
// and its undo, the floor of inserting or moving them all, and the repair of
// overlapping notes after an import.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "model/current/OverlapSweep.h"
#include "model/document/SSSynthesizerDoc.h"
#include "support/model_document/ProjectBuilder.h"

using namespace HVCurrentModel;

namespace {

constexpr int kNotes = 1000;

struct NoteProject {
    CSSSynthesizerDoc doc;
    SingSegment* seg = nullptr;
    std::vector<Note*> notes;

    NoteProject() {
        auto m = projtest::markersOnly();
        Track* t = projtest::addTrack(*m, kSingingTrack);
        seg = projtest::addSingSeg(*t, 7680, kNotes * 240);
        for (int i = 0; i < kNotes; ++i) {
            notes.push_back(projtest::addNote(*seg, i * 240, 240));
            notes.back()->selected = true;
        }
        doc.newProject(m.release());
    }
};

// Times an operation, or its undo, the other step untimed.
template <class Project, class Operation>
void timeOperation(benchmark::State& state, Project& p, Operation operation) {
    for (auto _ : state) {
        operation();
        state.PauseTiming();
        p.doc.undo();
        state.ResumeTiming();
    }
}

template <class Project, class Operation>
void timeUndo(benchmark::State& state, Project& p, Operation operation) {
    for (auto _ : state) {
        state.PauseTiming();
        operation();
        state.ResumeTiming();
        p.doc.undo();
    }
}

// The delete of every listed note, timed or its undo timed.
template <class Project>
void timeDelete(benchmark::State& state, Project& p) {
    timeOperation(state, p, [&] { p.doc.deleteNotes(p.notes, p.seg); });
}

template <class Project>
void timeUndoDelete(benchmark::State& state, Project& p) {
    timeUndo(state, p, [&] { p.doc.deleteNotes(p.notes, p.seg); });
}

// Times the redo of the last operation, the undo before it untimed.
template <class Project>
void timeRedo(benchmark::State& state, Project& p) {
    for (auto _ : state) {
        state.PauseTiming();
        p.doc.undo();
        state.ResumeTiming();
        p.doc.redo();
    }
}

template <class Project>
void timeRedoDelete(benchmark::State& state, Project& p) {
    p.doc.deleteNotes(p.notes, p.seg);
    timeRedo(state, p);
}

void BM_DeleteSelectedNotes(benchmark::State& state) {
    NoteProject p;
    timeDelete(state, p);
}

void BM_UndoDeleteSelectedNotes(benchmark::State& state) {
    NoteProject p;
    timeUndoDelete(state, p);
}

void BM_RedoDeleteSelectedNotes(benchmark::State& state) {
    NoteProject p;
    timeRedoDelete(state, p);
}

}  // namespace

// Notes of 480 ticks every 240: each overlaps the one before and after.
struct OverlappingProject {
    CSSSynthesizerDoc doc;
    SingSegment* seg = nullptr;
    std::vector<Note*> notes;

    explicit OverlappingProject(int count) {
        auto m = projtest::markersOnly();
        Track* t = projtest::addTrack(*m, kSingingTrack);
        seg = projtest::addSingSeg(*t, 7680, count * 240 + 480);
        for (int i = 0; i < count; ++i) seg->notes.push_back(makeNote(i, 60 + i % 2));
        seg->notes.sortAndMarkOverlaps();
        notes.assign(seg->notes.begin(), seg->notes.end());
        doc.newProject(m.release());
    }

    static Note* makeNote(int i, int key) {
        auto* n = new Note;
        n->pos = i * 240;
        n->width = 480;
        n->key = key;
        return n;
    }
};

void BM_DeleteOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    timeDelete(state, p);
}

void BM_UndoDeleteOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    timeUndoDelete(state, p);
}

// Redo takes the notes out again, as the delete did.
void BM_RedoDeleteOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    timeRedoDelete(state, p);
}

// The notes, taken out of their segment untouched, put back by one insert,
// which is then undone; redo does the insert's work again.
struct InsertedProject : OverlappingProject {
    explicit InsertedProject(int count) : OverlappingProject(count) {
        seg->notes.clear();
        doc.insertNotes(notes, seg, true);
    }
};

void BM_RedoInsertOverlappingNotes(benchmark::State& state) {
    InsertedProject p(static_cast<int>(state.range(0)));
    timeRedo(state, p);
}

void BM_UndoInsertOverlappingNotes(benchmark::State& state) {
    InsertedProject p(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        p.doc.undo();
        state.PauseTiming();
        p.doc.redo();
        state.ResumeTiming();
    }
}

// Every note moves 120 ticks later and a key up, as one operation.
std::vector<NotePosWidthKeyEdit> laterAndHigher(const std::vector<Note*>& notes) {
    std::vector<NotePosWidthKeyEdit> edits;
    for (Note* n : notes) edits.push_back({n, n->pos + 120, n->width, n->key - 1});
    return edits;
}

void BM_MoveOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    const std::vector<NotePosWidthKeyEdit> edits = laterAndHigher(p.notes);
    timeOperation(state, p, [&] { p.doc.editNotesPosWidthKey(edits, p.seg); });
}

void BM_UndoMoveOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    const std::vector<NotePosWidthKeyEdit> edits = laterAndHigher(p.notes);
    timeUndo(state, p, [&] { p.doc.editNotesPosWidthKey(edits, p.seg); });
}

// The floor: a copy of the segment's note list, which any of the above
// makes at least.
void BM_CopyNoteList(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<Note*> copy(p.seg->notes.begin(), p.seg->notes.end());
        benchmark::DoNotOptimize(copy.data());
    }
}

// The floor of inserting or moving them all at once, on plain lists: the
// notes in order of position checked to be so, flagged by one sweep and
// merged with the (empty) list of the notes left.
void BM_MarkAndMergeNoteList(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    const auto byPosition = [](const Note* a, const Note* b) { return a->pos < b->pos; };
    const std::vector<Note*> left;
    for (auto _ : state) {
        std::vector<Note*> added(p.seg->notes.begin(), p.seg->notes.end());
        benchmark::DoNotOptimize(std::is_sorted(added.begin(), added.end(), byPosition));
        markOverlapsInOrder<Note>(added);
        std::vector<Note*> all(added.size());
        std::merge(left.begin(), left.end(), added.begin(), added.end(), all.begin(), byPosition);
        benchmark::DoNotOptimize(all.data());
    }
}

// Every other note starts 10 ticks after the one before it and keeps only
// the larger key; the others are cut where the next begins.
void BM_FixNoteOverlaps(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CSSSynthesizerDoc doc;
        auto m = projtest::markersOnly();
        SingSegment* seg = projtest::addSingSeg(*projtest::addTrack(*m, kSingingTrack), 7680, count * 240 + 480);
        for (int i = 0; i < count; ++i) {
            Note* n = OverlappingProject::makeNote(i, 60 + i % 3);
            if (i % 2) n->pos = (i - 1) * 240 + 10;
            seg->notes.push_back(n);
        }
        seg->notes.sortAndMarkOverlaps();
        doc.newProject(m.release());
        state.ResumeTiming();
        doc.fixNoteOverlaps(seg);
        state.PauseTiming();
        benchmark::DoNotOptimize(seg->notes.size());
        state.ResumeTiming();
    }
}

BENCHMARK(BM_DeleteSelectedNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteSelectedNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteSelectedNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteOverlappingNotes)->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoInsertOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoInsertOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoMoveOverlappingNotes)->Arg(64000)->Arg(256000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyNoteList)->Arg(64000)->Arg(256000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkAndMergeNoteList)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FixNoteOverlaps)->Arg(40000)->Arg(160000)->Unit(benchmark::kMillisecond);
