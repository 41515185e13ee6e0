// Importing a 20,000-note MIDI track of eighths with lyrics (goal: under
// 1 s), beside the bare read of the same file into a multi-track, its floor.
// Then the MIDI import of the densest notes and the VSQX import at n and 4n
// notes, with the most heap each held per byte of its file (goal: at most
// 100), and the MIDI import of the shape that builds the most per byte at
// 1, 4 and 16 MB.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "model/current/DefaultProject.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/import/MidiImport.h"
#include "model/import/midi/MIDIFileRead.h"
#include "platform/MessageBox.h"
#include "shell/services/AppConfig.h"
#include "model/import/vsqx/VsqxImport.h"
#include "bench/support/PeakHeap.h"
#include "bench/support/ScalingFiles.h"
#include "bench/support/ScalingRun.h"
#include "support/midi/SmfWriter.h"

namespace {

constexpr int kNotes = 20000;

struct TakeAll : ISelectMidiTrackDlg {
    std::vector<int> rows;
    void addTrack(const CString&, int index, int) override { rows.push_back(index); }
    bool doModal() override { return true; }
    std::vector<int> getSelTracks() const override { return rows; }
};

// A document to import into as a new project, every track taken, without
// windows or the settings' automatic vibrato.
struct Importer {
    ScriptedMessageBoxService boxes;
    ScopedMessageBoxService scoped{&boxes};
    CSSSynthesizerDoc doc;
    ScoreImportContext context;

    Importer()
    {
        getAppConfig().isAutoVib = false;
        doc.newProject(HVCurrentModel::makeDefaultProject().release());
    }
    MidiImportResult import(const CString& path)
    {
        TakeAll dialog;
        return runMidiImport(doc, path, true, dialog, context);
    }
};

// A file removed when the program ends.
struct BenchFile {
    std::string file =
        (std::filesystem::temp_directory_path() / ("hv_midi_bench_" + std::to_string(getpid()) + ".mid")).string();
    ~BenchFile() { std::filesystem::remove(file); }
};

// One track of back-to-back notes of the given length in ticks (at 480 a
// quarter), each with a lyric when asked. Sixteenths without lyrics take 6
// bytes a note, the densest a file can hold them: two events of a one-byte
// delta and two data bytes under running status.
void writeMidi(const std::string& file, uint32_t notes, uint32_t ticks, bool lyrics)
{
    hvtest::SmfTrack track;
    track.runningStatus(true).name(0, "lead");
    for (uint32_t i = 0; i < notes; ++i) {
        if (lyrics) track.lyric(i * ticks, "la");
        track.noteOn(i * ticks, 48 + static_cast<int>(i % 24));
        track.noteOff(i * ticks + ticks, 48 + static_cast<int>(i % 24), true);
    }
    hvtest::SmfWriter smf(1, 480);
    smf.track(hvtest::SmfTrack().tempo(0, 500000)).track(track);
    smf.writeTo(file);
}

// A file of the given name in the scratch folder, removed with this.
struct ScratchFile {
    std::string file;
    explicit ScratchFile(const std::string& name)
        : file((std::filesystem::temp_directory_path() / (std::to_string(getpid()) + name)).string())
    {
    }
    ~ScratchFile() { std::filesystem::remove(file); }
};

const CString& benchFile()
{
    static const BenchFile holder;
    static const CString path = [] {
        const std::string& file = holder.file;
        writeMidi(file, kNotes, 240, true);
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
    Importer importer;
    for (auto _ : state) {
        MidiImportResult r = importer.import(benchFile());
        if (!r.newModel || r.newModel->tracks[0]->singSegs->segAt(0)->notes.size() != kNotes)
            state.SkipWithError("import lost notes");
    }
}
BENCHMARK(BM_MidiImport)->Unit(benchmark::kMillisecond);

void BM_MidiImportScaling(benchmark::State& state)
{
    const ScratchFile file("hv_scaling.mid");
    writeMidi(file.file, static_cast<uint32_t>(state.range(0)), 120, false);
    const CString path = CString::fromUtf8(file.file);
    Importer importer;
    double perByte = 0;
    for (auto _ : state) {
        MidiImportResult r;
        perByte = hvbench::peakBytesPerInputByte(std::filesystem::file_size(file.file),
                                                 [&] { r = importer.import(path); });
        if (!r.newModel) state.SkipWithError("import refused");
    }
    state.counters["heapPerFileByte"] = perByte;
}
BENCHMARK(BM_MidiImportScaling)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

// Note-ons one tick apart, each of a one-byte delta and two data bytes under
// running status, all ended by one "all notes off", at 1, 4 and 16 MB (a
// little less: MIDI files of 16 MiB are refused), each beside reading its
// file.
std::string midiOfRunningNoteOns(uint64_t size)
{
    const auto count = static_cast<uint32_t>((size - 64) / 3);
    hvtest::SmfTrack track;
    track.runningStatus(true);
    for (uint32_t i = 0; i < count; ++i) track.noteOn(i, static_cast<int>(i % 128));
    track.control(count, 123);
    return hvtest::SmfWriter(1, 480).track(track).bytes();
}

void BM_MidiNoteOnsScaling(benchmark::State& state)
{
    Importer importer;
    auto file = std::make_shared<hvbench::ScratchFile>("notes.mid");
    hvbench::runScaling(state, hvbench::kScalingSizes, [&](uint64_t size) {
        file->write(midiOfRunningNoteOns(size));
        return hvbench::ScalingInput{file->size(),
                                     [&importer, file] {
                                         benchmark::DoNotOptimize(importer.import(file->cpath()).newModel.get());
                                         return true;
                                     },
                                     [file] { file->readWhole(); }};
    });
}
BENCHMARK(BM_MidiNoteOnsScaling)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// A vsq4 score of one part of n notes, each of the elements a score
// writes, and a root element of three attributes.
void BM_VsqxImportScaling(benchmark::State& state)
{
    ScriptedMessageBoxService boxes;
    ScopedMessageBoxService scoped(&boxes);
    const ScratchFile file("hv_scaling.vsqx");
    std::string text = "<?xml version=\"1.0\"?><vsq4 xmlns=\"a\" xmlns:xsi=\"b\" xsi:schemaLocation=\"c\">"
                       "<masterTrack><preMeasure>4</preMeasure><tempo><t>0</t><v>12000</v></tempo></masterTrack>"
                       "<vsTrack><name>lead</name><vsPart><name>p</name><t>7680</t><playTime>99999999</playTime>\n";
    for (int64_t i = 0; i < state.range(0); ++i)
        text += "<note><t>" + std::to_string(i * 240) + "</t><dur>240</dur><n>60</n><v>64</v><y><![CDATA[a]]></y>"
                "<p><![CDATA[a]]></p><nStyle><v id=\"accent\">50</v><v id=\"decay\">50</v></nStyle></note>\n";
    text += "</vsPart></vsTrack></vsq4>\n";
    if (std::FILE* f = std::fopen(file.file.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    const CString path = CString::fromUtf8(file.file);
    double perByte = 0;
    for (auto _ : state) {
        std::unique_ptr<HVCurrentModel::HalvorenModel> model;
        perByte = hvbench::peakBytesPerInputByte(text.size(), [&] { model = loadVsqx(path, "Ann"); });
        if (!model) state.SkipWithError("score refused");
    }
    state.counters["heapPerFileByte"] = perByte;
}
BENCHMARK(BM_VsqxImportScaling)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace
