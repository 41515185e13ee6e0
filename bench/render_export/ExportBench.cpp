// Exports of sung outputs already rendered: the heap the mix and the file
// writing take at their peak, per second of audio (the synthesizers' own
// outputs are made before and not counted), and the wall time from the
// progress dialog's start to the written file. Floors: the same stereo
// frames written by the plain WAV writer from one whole buffer.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

#include "render/export/SegmentList2WavProcessMgr.h"
#include "render/export/WavFileWriter.h"
#include "shell/SynthProgressDlg.h"
#include "support/ScratchDir.h"
#include "support/engine/FakeSynth.h"

namespace {

std::atomic<long long> g_heap{0};
std::atomic<long long> g_peak{0};

void noteAlloc(void* p) {
    if (p == nullptr) return;
    const long long now = g_heap += static_cast<long long>(malloc_usable_size(p));
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}

}  // namespace

void* operator new(std::size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) throw std::bad_alloc();
    noteAlloc(p);
    return p;
}
// The replacements hand out and take back malloc's memory; gcc cannot tell
// that the pointer a delete gets came from the malloc in new.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
    if (p != nullptr) g_heap -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using HalvorenEngineTest::FakeSynth;
constexpr int kRate = 44100;
constexpr int kSegmentSeconds = 30;

// Sung segments of 30 s one after another, every sample already done.
std::vector<std::unique_ptr<FakeSynth>> segments(int seconds) {
    std::vector<std::unique_ptr<FakeSynth>> out;
    for (int s = 0; s < seconds; s += kSegmentSeconds) {
        std::vector<short> samples(static_cast<size_t>(kSegmentSeconds) * kRate);
        for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<short>((i * 37) % 20000 - 10000);
        out.push_back(std::make_unique<FakeSynth>(samples, static_cast<int>(samples.size())));
    }
    return out;
}

// Peak heap above what was held before, per second of audio.
void reportPeak(benchmark::State& state, long long before, int seconds) {
    state.counters["peak_bytes_per_audio_second"] = static_cast<double>(g_peak.load() - before) / seconds;
}

void BM_ExportPeakMemoryPerSecond(benchmark::State& state) {
    const int seconds = static_cast<int>(state.range(0));
    hvtest::ScratchDir dir("bench_export");
    const auto synths = segments(seconds);
    const long long before = g_heap.load();
    g_peak = before;
    for (auto _ : state) {
        SegmentList2WavProcessMgr job(CString::fromUtf8(dir.file("out.wav")));
        for (size_t i = 0; i < synths.size(); ++i)
            job.addSingJob(synths[i].get(), static_cast<int>(i) * kSegmentSeconds * kRate, 1.0f, 0.0f);
        job.finish();
    }
    reportPeak(state, before, seconds);
}
BENCHMARK(BM_ExportPeakMemoryPerSecond)->Arg(60)->Arg(240)->Unit(benchmark::kMillisecond);

// The floor: the whole stereo buffer held and written at once.
void BM_WholeBufferWriteFloor(benchmark::State& state) {
    const int seconds = static_cast<int>(state.range(0));
    hvtest::ScratchDir dir("bench_export_floor");
    const long long before = g_heap.load();
    g_peak = before;
    for (auto _ : state) {
        std::vector<int16_t> stereo(static_cast<size_t>(seconds) * kRate * 2, 1);
        writeWavFile(CString::fromUtf8(dir.file("out.wav")), 2, stereo.size() * 2, stereo.data());
    }
    reportPeak(state, before, seconds);
}
BENCHMARK(BM_WholeBufferWriteFloor)->Arg(60)->Arg(240)->Unit(benchmark::kMillisecond);

// From the dialog's start to the written file of a job whose one short
// segment is already sung: the wait for completion, not the work.
void BM_ExportWallTimeOfASungSegment(benchmark::State& state) {
    hvtest::ScratchDir dir("bench_export_wall");
    FakeSynth synth(std::vector<short>(kRate / 10, 100), kRate / 10);
    for (auto _ : state) {
        SegmentList2WavProcessMgr job(CString::fromUtf8(dir.file("out.wav")));
        job.addSingJob(&synth, 0, 1.0f, 0.0f);
        CSynthProgressDlg dlg({});
        dlg.processMgr = &job;
        benchmark::DoNotOptimize(dlg.doModal());
    }
}
BENCHMARK(BM_ExportWallTimeOfASungSegment)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the same 0.1 s written as one buffer.
void BM_ShortWriteFloor(benchmark::State& state) {
    hvtest::ScratchDir dir("bench_export_wall_floor");
    const std::vector<int16_t> stereo(kRate / 10 * 2, 100);
    for (auto _ : state)
        writeWavFile(CString::fromUtf8(dir.file("out.wav")), 2, stereo.size() * 2, stereo.data());
}
BENCHMARK(BM_ShortWriteFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
