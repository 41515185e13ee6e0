// Files made of a flood of tiny records, each read under the default read
// budget: a project of 30,000 minimal notes, a dictionary of a million
// one-character phrases and a WAV of 100,000 empty chunks. Each either stops
// where its budget is spent or loads within it; the counters tell which.
// The floor is reading the same file's bytes in one piece. Then, at n and
// 4n, JSON text of small values and a singer dictionary's lookup over lyrics,
// the JSON with the most heap it held per byte of its text, and the lookup
// against a key longer than the lyrics.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "lyrics/ChCharacterDict.h"
#include "lyrics/SingerLyricDict.h"
#include "model/audio/WavFileReader.h"
#include "model/current/HalvorenModel.h"
#include "model/file/ProjectFile.h"
#include "platform/FileUtil.h"
#include "platform/JsonFile.h"
#include "bench/support/PeakHeap.h"
#include "bench/support/ScalingRun.h"
#include "support/ByteBuilder.h"

using hvtest::ByteBuilder;
using namespace HVCurrentModel;

namespace {

constexpr int kNotes = 30000;
constexpr int kPhrases = 1000000;
constexpr int kChunks = 100000;

std::string scratchPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / (name + std::to_string(getpid()))).string();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string writeScratch(const std::string& name, const std::string& bytes)
{
    const std::string path = scratchPath(name);
    writeFile(path, bytes);
    return path;
}

// A tagged project of version 5 without extension markers: one singing
// track, one segment, kNotes notes of 41 bytes each.
std::string projectOfMinimalNotes()
{
    ByteBuilder notes;
    notes.u32(kNotes);
    for (int i = 0; i < kNotes; ++i) {
        notes.i32(10 * i).i32(10).i32(60).i32(0).u32(0).u32(0).str("").str("").u8(0);
        notes.block(ByteBuilder()).block(ByteBuilder());
    }
    const ByteBuilder emptyList = ByteBuilder().u32(0);
    ByteBuilder segs;
    segs.u32(1).i32(0).i32(10 * kNotes).str("s").str("x").block(notes);
    segs.block(emptyList).block(emptyList).block(emptyList);
    ByteBuilder body;
    body.block(emptyList).block(emptyList).u32(1).u32(kSingingTrack).u8(0).u8(0).i32(30).f32(0.0f).block(segs);
    return ByteBuilder().raw("HALVOREN").u32(5).block(body).bytes;
}

// Records of the character U+4E00 with at most 65,535 phrases each (the
// count is 16 bits), every phrase one character long.
std::string dictionaryOfOneCharacterPhrases()
{
    ByteBuilder b;
    for (int left = kPhrases; left > 0;) {
        const int count = left < 65535 ? left : 65535;
        b.u16(0x4E00).u16(0x1394).u16(static_cast<uint16_t>(count));
        for (int i = 0; i < count; ++i) b.u16(1).u16(0x4E00).u16(0x1394);
        left -= count;
    }
    return b.bytes;
}

std::string wavOfEmptyChunks()
{
    ByteBuilder chunks;
    for (int i = 0; i < kChunks; ++i) chunks.raw("junk").u32(0);
    ByteBuilder fmt;
    fmt.u16(1).u16(1).u32(44100).u32(88200).u16(2).u16(16);
    chunks.raw("fmt ").block(fmt).raw("data").block(ByteBuilder().u32(0));
    return ByteBuilder().raw("RIFF").u32(static_cast<uint32_t>(4 + chunks.size())).raw("WAVE").raw(chunks.bytes).bytes;
}

void BM_ProjectOf30000MinimalNotes(benchmark::State& state)
{
    const std::string path = writeScratch("hv_bench_notes_", projectOfMinimalNotes());
    const CString cpath = CString::fromUtf8(path);
    size_t loaded = 0;
    for (auto _ : state) {
        std::unique_ptr<HalvorenModel> model(loadProjectFile(cpath));
        loaded = model ? model->tracks.at(0)->singSegs->segAt(0)->notes.size() : 0;
        state.PauseTiming();  // freeing the model is not part of loading it
        model.reset();
        state.ResumeTiming();
    }
    state.counters["notes"] = double(loaded);
    state.counters["fileBytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ProjectOf30000MinimalNotes)->Unit(benchmark::kMillisecond);

void BM_DictionaryOfAMillionPhrases(benchmark::State& state)
{
    const std::string folder = scratchPath("hv_bench_dict_");
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/zh.dict";
    writeFile(path, dictionaryOfOneCharacterPhrases());
    int result = 0;
    std::ostringstream log;
    for (auto _ : state) {
        ChCharacterDict dict(CString::fromUtf8(folder), log);
        result = dict.loadCompiled(CString::fromUtf8(path));
        benchmark::DoNotOptimize(result);
    }
    state.counters["loaded"] = result == 0 ? 1 : 0;
    state.counters["fileBytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DictionaryOfAMillionPhrases)->Unit(benchmark::kMillisecond);

void BM_WavOf100000EmptyChunks(benchmark::State& state)
{
    const std::string path = writeScratch("hv_bench_chunks_", wavOfEmptyChunks());
    bool loaded = false;
    for (auto _ : state) {
        WavFileReader reader;
        loaded = reader.read(CString::fromUtf8(path));
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["loaded"] = loaded ? 1 : 0;
    state.counters["fileBytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WavOf100000EmptyChunks)->Unit(benchmark::kMillisecond);

// The floor: the bytes of each file read in one piece.
void BM_ReadWholeFileFloor(benchmark::State& state)
{
    const std::string bytes[] = {projectOfMinimalNotes(), dictionaryOfOneCharacterPhrases(), wavOfEmptyChunks()};
    const std::string& chosen = bytes[state.range(0)];
    const std::string path = writeScratch("hv_bench_floor_", chosen);
    std::string in;
    for (auto _ : state) {
        readWholeFile(CString::fromUtf8(path), in, chosen.size());
        benchmark::DoNotOptimize(in.data());
    }
    state.counters["fileBytes"] = double(chosen.size());
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadWholeFileFloor)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// An object of n members, each an array of a number and a short string.
void BM_ParseJsonScaling(benchmark::State& state)
{
    std::string text = "{";
    for (int64_t i = 0; i < state.range(0); ++i)
        text += (i ? ",\"" : "\"") + std::to_string(i) + "\":[" + std::to_string(i % 100) + ",\"la\"]";
    text += "}";
    double perByte = 0;
    for (auto _ : state) {
        Json::Value value;
        perByte = hvbench::peakBytesPerInputByte(text.size(), [&] {
            if (!parseJson(text, value)) state.SkipWithError("refused");
        });
    }
    state.counters["heapPerTextByte"] = perByte;
}
BENCHMARK(BM_ParseJsonScaling)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A dictionary of words of 3,000 lengths (of "a" followed by "b"s), over
// lyrics of n bytes that begin many words without finishing one.
void BM_SingerDictLookupScaling(benchmark::State& state)
{
    static const std::string path = [] {
        std::string file;
        for (int len = 1; len <= 3000; ++len) {
            file += 'a';
            file.append(size_t(len - 1), 'b');
            file += "=s\n";
        }
        return writeScratch("hv_bench_singer_dict_", file);
    }();
    CSingerLyricDict dict;
    dict.loadTxt(CString::fromUtf8(path));
    std::string lyrics;
    while (lyrics.size() < size_t(state.range(0))) lyrics += "ac";
    std::vector<std::string> words, symbols;
    for (auto _ : state) {
        dict.lookup(lyrics, words, symbols);
        benchmark::DoNotOptimize(words.data());
    }
    state.counters["words"] = double(words.size());
}
BENCHMARK(BM_SingerDictLookupScaling)->Arg(2048)->Arg(8192)->Unit(benchmark::kMillisecond);

// A dictionary of one key of a million "a"s and one of "b", over lyrics of
// "a"s at 16 and 64 KB: every position of the lyric goes on with the long
// key to the lyric's end without finishing it. The floor reads the lyric's
// bytes once.
void BM_SingerDictLongKeyScaling(benchmark::State& state)
{
    static const std::string path = writeScratch("hv_bench_long_key_", std::string(1000000, 'a') + "=s\nb=t\n");
    CSingerLyricDict dict;
    dict.loadTxt(CString::fromUtf8(path));
    hvbench::runScaling(state, {16 << 10, 64 << 10}, [&](uint64_t size) {
        auto lyrics = std::make_shared<std::string>(size, 'a');
        return hvbench::ScalingInput{size,
                                     [&dict, lyrics] {
                                         std::vector<std::string> words, symbols;
                                         dict.lookup(*lyrics, words, symbols);
                                         return words.empty();
                                     },
                                     [lyrics] {
                                         benchmark::DoNotOptimize(std::count(lyrics->begin(), lyrics->end(), 'b'));
                                     }};
    });
}
BENCHMARK(BM_SingerDictLongKeyScaling)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
