// Deleting 1,000 selected notes as one operation, and its undo and redo.
#include <benchmark/benchmark.h>

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

void BM_DeleteSelectedNotes(benchmark::State& state) {
    NoteProject p;
    for (auto _ : state) {
        p.doc.deleteNotes(p.notes, p.seg);
        state.PauseTiming();
        p.doc.undo();
        state.ResumeTiming();
    }
}

void BM_UndoDeleteSelectedNotes(benchmark::State& state) {
    NoteProject p;
    for (auto _ : state) {
        state.PauseTiming();
        p.doc.deleteNotes(p.notes, p.seg);
        state.ResumeTiming();
        p.doc.undo();
    }
}

void BM_RedoDeleteSelectedNotes(benchmark::State& state) {
    NoteProject p;
    p.doc.deleteNotes(p.notes, p.seg);
    for (auto _ : state) {
        state.PauseTiming();
        p.doc.undo();
        state.ResumeTiming();
        p.doc.redo();
    }
}

}  // namespace

BENCHMARK(BM_DeleteSelectedNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteSelectedNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteSelectedNotes)->Unit(benchmark::kMillisecond);
