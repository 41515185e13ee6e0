// Deleting 1,000 selected notes as one operation, and its undo and redo;
// then, at n and 4n notes that each overlap their neighbours, deleting them
// all, its undo, inserting them all (redone) and its undo, moving them all
// and its undo, and the repair of overlapping notes after an import, each
// beside the floor of a whole-list edit over the same notes.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/model_document/SpanFloor.h"
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

// Each of the following times one step per iteration against the floor over
// every note, taken while all of them are in the segment.
void BM_DeleteOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    hvbench::FloorPairing t;
    for (auto _ : state) {
        t.step(state, [&] { p.doc.deleteNotes(p.notes, p.seg); });
        p.doc.undo();
        t.floor([&] { hvbench::spanFloor(p.notes); });
    }
    t.report(state);
}

void BM_UndoDeleteOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    hvbench::FloorPairing t;
    for (auto _ : state) {
        p.doc.deleteNotes(p.notes, p.seg);
        t.step(state, [&] { p.doc.undo(); });
        t.floor([&] { hvbench::spanFloor(p.notes); });
    }
    t.report(state);
}

// Redo takes the notes out again, as the delete did.
void BM_RedoDeleteOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    hvbench::FloorPairing t;
    p.doc.deleteNotes(p.notes, p.seg);
    for (auto _ : state) {
        p.doc.undo();
        t.floor([&] { hvbench::spanFloor(p.notes); });
        t.step(state, [&] { p.doc.redo(); });
    }
    t.report(state);
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
    hvbench::FloorPairing t;
    for (auto _ : state) {
        p.doc.undo();
        t.step(state, [&] { p.doc.redo(); });
        t.floor([&] { hvbench::spanFloor(p.notes); });
    }
    t.report(state);
}

void BM_UndoInsertOverlappingNotes(benchmark::State& state) {
    InsertedProject p(static_cast<int>(state.range(0)));
    hvbench::FloorPairing t;
    for (auto _ : state) {
        t.step(state, [&] { p.doc.undo(); });
        p.doc.redo();
        t.floor([&] { hvbench::spanFloor(p.notes); });
    }
    t.report(state);
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
    hvbench::FloorPairing t;
    for (auto _ : state) {
        t.step(state, [&] { p.doc.editNotesPosWidthKey(edits, p.seg); });
        p.doc.undo();
        t.floor([&] { hvbench::spanFloor(p.notes, 120); });
    }
    t.report(state);
}

void BM_UndoMoveOverlappingNotes(benchmark::State& state) {
    OverlappingProject p(static_cast<int>(state.range(0)));
    const std::vector<NotePosWidthKeyEdit> edits = laterAndHigher(p.notes);
    hvbench::FloorPairing t;
    for (auto _ : state) {
        p.doc.editNotesPosWidthKey(edits, p.seg);
        t.step(state, [&] { p.doc.undo(); });
        t.floor([&] { hvbench::spanFloor(p.notes); });
    }
    t.report(state);
}

// Every other note starts 10 ticks after the one before it and keeps only
// the larger key; the others are cut where the next begins. The floor runs
// over the notes before the repair.
void BM_FixNoteOverlaps(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    hvbench::FloorPairing t;
    for (auto _ : state) {
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
        t.floor([&] { hvbench::spanFloor(seg->notes); });
        t.step(state, [&] { doc.fixNoteOverlaps(seg); });
        benchmark::DoNotOptimize(seg->notes.size());
    }
    t.report(state);
}

BENCHMARK(BM_DeleteSelectedNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteSelectedNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteSelectedNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteOverlappingNotes)->Arg(16000)->Arg(64000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoInsertOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoInsertOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoMoveOverlappingNotes)->Arg(8000)->Arg(32000)->Arg(64000)->Arg(256000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FixNoteOverlaps)->Arg(40000)->Arg(160000)->UseManualTime()->Unit(benchmark::kMillisecond);
