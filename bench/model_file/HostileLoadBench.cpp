// Loading project files of 100,000 elements built to be slow or large,
// against reading the same file's bytes. The heap in use after the load is
// reported as heap_MB. Then, at n and 4n, a project of records naming one
// clip in two spellings and a low-rate 8-bit WAV clip, with the most heap
// each held per byte of its input.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/current/HalvorenModel.h"
#include "support/ByteBuilder.h"
#include "model/file/ProjectFile.h"
#include "platform/FileUtil.h"
#include "model/current/Segments.h"
#include "bench/support/PeakHeap.h"
#include "support/audio/RiffWriter.h"

using namespace HVCurrentModel;
using hvtest::ByteBuilder;

namespace {

constexpr int kElements = 100000;

enum HostileKind {
    kSegmentsAtOnePosition,  // current file: every segment over every other
    kOldOverlappingNotes,    // generation 0: one segment, every note over every other
    kNotesWithoutTables,     // current file: minimal note records
    kClipsNamingOneFile,     // current file: every instrumental segment names one clip
};

std::string scratchPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / (name + std::to_string(getpid()))).string();
}

ByteBuilder currentBody(uint32_t trackKind, const ByteBuilder& segments)
{
    ByteBuilder b;
    b.raw("ext1ext2").block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).u32(1);
    return b.u32(trackKind).str("t").u8(0).u8(0).i32(30).f32(0).block(segments);
}

ByteBuilder tagged(const ByteBuilder& body)
{
    return ByteBuilder().raw("HALVOREN").u32(5).block(body);
}

std::string hostileFile(HostileKind kind, const std::string& clipPath)
{
    ByteBuilder segs;
    switch (kind) {
    case kSegmentsAtOnePosition:
        segs.u32(kElements);
        for (int k = 0; k < kElements; ++k) {
            segs.i32(7680).i32(1920).str("s").str("x").block(ByteBuilder().u32(0));
            for (int c = 0; c < 3; ++c) segs.block(ByteBuilder().u32(0));
        }
        return tagged(currentBody(0, segs)).bytes;
    case kOldOverlappingNotes: {
        ByteBuilder notes;
        notes.u32(kElements);
        for (int k = 0; k < kElements; ++k)
            notes.i32(k % 7).i32(1920).i32(50).i32(0).i32(0).f32(0).f32(0).utf16(u"a", 8).utf16(u"a", 8).u8(0);
        segs.u32(1).i32(0).i32(1920).utf16(u"s", 260).utf16(u"x", 260).block(notes).block({}).block({});
        ByteBuilder body;
        body.u32(0).block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).block(segs);
        return ByteBuilder().block(body).bytes;
    }
    case kNotesWithoutTables: {
        ByteBuilder notes;
        notes.u32(kElements);
        for (int k = 0; k < kElements; ++k) {
            notes.i32(240 * k).i32(240).i32(60).i32(0).str("la").str("la").u8(0).block({}).block({});
            notes.u8(0).f32(1).u8(0).f32(1).f32(1).f32(1).i32(0).i32(0).i32(25).i32(20);
        }
        segs.u32(1).i32(0).i32(240 * kElements).str("s").str("x").block(notes);
        for (int c = 0; c < 3; ++c) segs.block(ByteBuilder().u32(0));
        return tagged(currentBody(0, segs)).bytes;
    }
    case kClipsNamingOneFile:
        segs.u32(kElements);
        for (int k = 0; k < kElements; ++k) segs.i32(1920 * k).i32(1920).str("c").str(clipPath);
        return tagged(currentBody(1, segs)).bytes;
    }
    return {};
}

double heapMegabytes() { return double(mallinfo2().uordblks) / (1 << 20); }

struct HostileFixture {
    std::string clip = scratchPath("hv_bench_clip_") + ".wav";
    std::string path;

    explicit HostileFixture(HostileKind kind) : path(scratchPath("hv_bench_hostile_" + std::to_string(kind) + "_"))
    {
        // One second of a 44.1 kHz stereo clip: 176 KB of samples.
        hvtest::writeBytes(clip, hvtest::simpleWav(1, 2, 44100, 16, hvtest::Bytes(4 * 44100, 1)));
        const std::string bytes = hostileFile(kind, clip);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    ~HostileFixture()
    {
        std::filesystem::remove(path);
        std::filesystem::remove(clip);
    }
};

void BM_LoadHostileProject(benchmark::State& state)
{
    HostileFixture file(static_cast<HostileKind>(state.range(0)));
    const CString path = CString::fromUtf8(file.path);
    std::unique_ptr<HalvorenModel> loaded;
    double heap = 0;
    for (auto _ : state) {
        const double before = heapMegabytes();
        loaded.reset(loadProjectFile(path));
        benchmark::DoNotOptimize(loaded.get());
        state.PauseTiming();
        heap = heapMegabytes() - before;
        loaded.reset();
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = heap;
    state.counters["file_MB"] = double(std::filesystem::file_size(file.path)) / (1 << 20);
}
BENCHMARK(BM_LoadHostileProject)
    ->ArgName("kind")
    ->DenseRange(kSegmentsAtOnePosition, kClipsNamingOneFile)
    ->Unit(benchmark::kMillisecond);

// The floor: the same files' bytes read into memory.
void BM_ReadHostileFileBytes(benchmark::State& state)
{
    HostileFixture file(static_cast<HostileKind>(state.range(0)));
    const CString path = CString::fromUtf8(file.path);
    std::string bytes;
    for (auto _ : state) {
        readWholeFile(path, bytes, uint64_t{1} << 30);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_ReadHostileFileBytes)
    ->ArgName("kind")
    ->DenseRange(kSegmentsAtOnePosition, kClipsNamingOneFile)
    ->Unit(benchmark::kMillisecond);

// Records naming a 44 KB clip, every second one by a Windows path whose file
// name is found beside the project; the input is the project and the clip.
void BM_LoadRecordsNamingOneClip(benchmark::State& state)
{
    const std::string folder = scratchPath("hv_bench_spellings_");
    std::filesystem::create_directories(folder);
    const std::string clip = folder + "/clip.wav";
    const hvtest::Bytes clipBytes = hvtest::simpleWav(1, 2, 44100, 16, hvtest::Bytes(44000, 1));
    hvtest::writeBytes(clip, clipBytes);
    ByteBuilder segs;
    segs.u32(static_cast<uint32_t>(state.range(0)));
    for (int64_t k = 0; k < state.range(0); ++k)
        segs.i32(static_cast<int32_t>(1920 * k)).i32(1920).str("c").str(k % 2 ? clip : "X:\\music\\clip.wav");
    const std::string path = folder + "/song.ot";
    const hvtest::Bytes bytes = hvtest::toBytes(tagged(currentBody(1, segs)));
    hvtest::writeBytes(path, bytes);
    double perByte = 0;
    for (auto _ : state) {
        std::unique_ptr<HalvorenModel> loaded;
        perByte = hvbench::peakBytesPerInputByte(bytes.size() + clipBytes.size(),
                                                 [&] { loaded.reset(loadProjectFile(CString::fromUtf8(path))); });
        if (!loaded || loaded->tracks.at(0)->instSegs->size() != size_t(state.range(0)))
            state.SkipWithError("clips lost");
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
    state.counters["heapPerInputByte"] = perByte;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadRecordsNamingOneClip)->Arg(3000)->Arg(12000)->Unit(benchmark::kMillisecond);

// A mono 8-bit WAV at 1000 Hz of n bytes: the most a byte of a clip grows.
void BM_LoadLowRateClip(benchmark::State& state)
{
    const std::string path = scratchPath("hv_bench_lowrate_") + ".wav";
    const hvtest::Bytes bytes = hvtest::simpleWav(1, 1, 1000, 8, hvtest::Bytes(size_t(state.range(0)), 200));
    hvtest::writeBytes(path, bytes);
    double perByte = 0;
    for (auto _ : state) {
        HVCurrentModel::InstrumentSegment seg;
        seg.audioPath = path;
        perByte = hvbench::peakBytesPerInputByte(bytes.size(), [&] {
            if (!seg.loadAudio(CString())) state.SkipWithError("clip refused");
        });
    }
    state.counters["heapPerInputByte"] = perByte;
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadLowRateClip)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
