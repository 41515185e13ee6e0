// Importing a 20,000-note MIDI track (goal: under 1 s), beside the bare read
// of the same file into a multi-track, its floor.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "model/current/DefaultProject.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/import/MidiImport.h"
#include "model/import/midi/MIDIFileRead.h"
#include "platform/MessageBox.h"
#include "shell/services/AppConfig.h"
#include "support/midi/SmfWriter.h"

namespace {

constexpr int kNotes = 20000;

struct TakeAll : ISelectMidiTrackDlg {
    std::vector<int> rows;
    void addTrack(const CString&, int index, int) override { rows.push_back(index); }
    bool doModal() override { return true; }
    std::vector<int> getSelTracks() const override { return rows; }
};

// One track of back-to-back eighth notes, each with a lyric, in a file
// removed when the program ends.
struct BenchFile {
    std::string file =
        (std::filesystem::temp_directory_path() / ("hv_midi_bench_" + std::to_string(getpid()) + ".mid")).string();
    ~BenchFile() { std::filesystem::remove(file); }
};

const CString& benchFile()
{
    static const BenchFile holder;
    static const CString path = [] {
        const std::string& file = holder.file;
        hvtest::SmfTrack track;
        track.runningStatus(true).name(0, "lead");
        for (uint32_t i = 0; i < kNotes; ++i) {
            track.lyric(i * 240, "la");
            track.noteOn(i * 240, 48 + static_cast<int>(i % 24));
            track.noteOff(i * 240 + 240, 48 + static_cast<int>(i % 24), true);
        }
        hvtest::SmfWriter smf(1, 480);
        smf.track(hvtest::SmfTrack().tempo(0, 500000)).track(track);
        smf.writeTo(file);
        return CString::fromUtf8(file);
    }();
    return path;
}

void BM_SmfRead(benchmark::State& state)
{
    for (auto _ : state) {
        hvmidi::MIDIMultiTrack tracks;
        const hvmidi::MIDIFileReadStreamFile stream(benchFile());
        hvmidi::MIDIFileReadMultiTrack sink(&tracks);
        benchmark::DoNotOptimize(hvmidi::MIDIFileRead(stream, sink).parse());
    }
}
BENCHMARK(BM_SmfRead)->Unit(benchmark::kMillisecond);

void BM_MidiImport(benchmark::State& state)
{
    ScriptedMessageBoxService boxes;
    ScopedMessageBoxService scoped(&boxes);
    getAppConfig().isAutoVib = false;
    CSSSynthesizerDoc doc;
    doc.newProject(HVCurrentModel::makeDefaultProject().release());
    ScoreImportContext context;
    for (auto _ : state) {
        TakeAll dialog;
        MidiImportResult r = runMidiImport(doc, benchFile(), true, dialog, context);
        if (!r.newModel || r.newModel->tracks[0]->singSegs->segAt(0)->notes.size() != kNotes)
            state.SkipWithError("import lost notes");
    }
}
BENCHMARK(BM_MidiImport)->Unit(benchmark::kMillisecond);

}  // namespace
