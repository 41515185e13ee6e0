// Saving and loading a large project against the plain file I/O of a file of
// the same size.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/current/HalvorenModel.h"
#include "model/file/ProjectFile.h"

using namespace HVCurrentModel;

namespace {

constexpr int kSegments = 8;
constexpr int kNotesPerSegment = 1250;
constexpr int kNoteWidth = 240;
constexpr int kCurveNodes = 2000;

std::string scratchPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(getpid()))).string();
}

// 10,000 notes over 8 segments; every saved curve carries nodes across the
// segment and every note a vibrato.
std::unique_ptr<HalvorenModel> makeLargeProject()
{
    auto model = std::make_unique<HalvorenModel>();
    model->tempos.push_back(new Tempo{0, 12000});
    model->beats.push_back(new Beat{-3, 4, 4});
    auto* track = new Track(kSingingTrack);
    model->tracks.push_back(track);
    const int width = kNotesPerSegment * kNoteWidth;
    for (int s = 0; s < kSegments; ++s) {
        auto* seg = new SingSegment(7680 + s * width, width);
        for (CurveSlot slot : kSavedCurveSlots) {
            NodeContainer& nodes = seg->curve(slot).nodes;
            nodes.clear();
            for (int k = 0; k < kCurveNodes; ++k) nodes.pushBack({k * (width / kCurveNodes), 100 + k % 50});
        }
        for (int n = 0; n < kNotesPerSegment; ++n) {
            auto* note = new Note;
            note->pos = n * kNoteWidth;
            note->width = kNoteWidth;
            note->key = 50 + n % 24;
            note->vibPercent = 30;
            note->vibrato.vibAmp.nodes.insertNode(std::next(note->vibrato.vibAmp.nodes.begin()), {50000, 300});
            note->vibrato.buildPitchCurve(500, 30, note->cycle);
            seg->notes.push_back(note);
        }
        insertSegmentSorted(*track->singSegs, seg);
    }
    return model;
}

const HalvorenModel& largeProject()
{
    static const std::unique_ptr<HalvorenModel> model = makeLargeProject();
    return *model;
}

void BM_SaveAndLoadProject(benchmark::State& state)
{
    const std::string path = scratchPath("hv_bench_project_");
    const CString cpath = CString::fromUtf8(path);
    largeProject();
    std::unique_ptr<HalvorenModel> loaded;
    for (auto _ : state) {
        if (saveProjectFile(largeProject(), cpath) != 0) state.SkipWithError("save failed");
        loaded.reset(loadProjectFile(cpath));
        benchmark::DoNotOptimize(loaded.get());
        state.PauseTiming();  // freeing the model is not part of loading it
        loaded.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveAndLoadProject)->Unit(benchmark::kMillisecond);

// The two halves apart.
void BM_SaveProject(benchmark::State& state)
{
    const CString path = CString::fromUtf8(scratchPath("hv_bench_save_"));
    largeProject();
    for (auto _ : state)
        if (saveProjectFile(largeProject(), path) != 0) state.SkipWithError("save failed");
    std::filesystem::remove(path.toUtf8());
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

void BM_LoadProject(benchmark::State& state)
{
    const CString path = CString::fromUtf8(scratchPath("hv_bench_load_"));
    saveProjectFile(largeProject(), path);
    std::unique_ptr<HalvorenModel> loaded;
    for (auto _ : state) {
        loaded.reset(loadProjectFile(path));
        benchmark::DoNotOptimize(loaded.get());
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove(path.toUtf8());
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);

// The floor: the same number of bytes written in one piece and made durable
// on the disk as a save makes them, then read back in one piece. With fresh
// buffers, the bytes are made in new memory and read into new memory on each
// round, as every save and load must; otherwise both buffers are kept.
void plainWriteAndRead(benchmark::State& state, bool freshBuffers)
{
    const std::string projectPath = scratchPath("hv_bench_size_");
    saveProjectFile(largeProject(), CString::fromUtf8(projectPath));
    const size_t size = std::filesystem::file_size(projectPath);
    std::filesystem::remove(projectPath);
    const std::string path = scratchPath("hv_bench_plain_");
    std::vector<char> out(size, 'x'), in;
    for (auto _ : state) {
        if (freshBuffers) std::vector<char>(size, 'x').swap(out);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(out.data(), 1, out.size(), f);
        std::fflush(f);
        fsync(fileno(f));
        std::fclose(f);
        f = std::fopen(path.c_str(), "rb");
        if (freshBuffers) std::vector<char>().swap(in);
        in.assign(size, 0);
        benchmark::DoNotOptimize(std::fread(in.data(), 1, in.size(), f));
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
    std::filesystem::remove(path);
}

void BM_PlainFileWriteAndRead(benchmark::State& state) { plainWriteAndRead(state, false); }
void BM_PlainFileWriteAndReadFreshBuffers(benchmark::State& state) { plainWriteAndRead(state, true); }
BENCHMARK(BM_PlainFileWriteAndRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFileWriteAndReadFreshBuffers)->Unit(benchmark::kMillisecond);

}  // namespace
