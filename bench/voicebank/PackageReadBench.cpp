// Reading a third-generation package: an index of 2,000 variants and one
// voice record of 200 frames, each beside the floor of reading the same
// bytes from the same file.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "support/bank/BankTree.h"
#include "voicebank/v3/SourceStorePackager.h"

namespace {

const char* const kPitches[] = {"C3", "D3", "E3", "F3", "G3", "A3", "B3", "C4", "D4", "E4",
                                "F4", "G4", "A4", "B4", "C5", "D5", "E5", "F5", "G5", "A5"};

// 100 units of 20 variants, then one unit whose record holds 200 frames.
struct BenchBank {
    BenchBank() : tree("bench_package")
    {
        testbank::BankDescription bank;
        bank.ext2 = bank.ext1 = true;
        for (int u = 0; u < 100; ++u) {
            std::string unit = "u";
            unit += std::to_string(u);
            for (const char* pitch : kPitches)
                bank.variants.push_back({unit, pitch, 0, ""});
        }
        std::vector<testbank::PlainFrame> frames(200);
        for (std::size_t i = 0; i < frames.size(); ++i)
            frames[i].harmonicsDb.assign(40, -0.5f * float(i % 40));
        bank.variants.push_back({"long", "C4", 1, testbank::v3VoiceRecord({}, testbank::ghrModelBytes(frames),
                                                                          testbank::PhaseTable{})});
        folder = tree.addPackage("b", "3.1", "B", testbank::writePackage(bank));
        base = testbank::packageBasePath(folder);
    }
    testbank::BankTree tree;
    std::filesystem::path folder;
    std::string base;
};

const BenchBank& benchBank()
{
    static const BenchBank bank;
    return bank;
}

// The whole file in one read of its size.
std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(std::size_t(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), std::streamsize(bytes.size()));
    return bytes;
}

void BM_Index2000Variants(benchmark::State& state)
{
    const BenchBank& bank = benchBank();
    std::ostringstream log;
    for (auto _ : state) {
        HalvorenEngineV3::SourceStorePackager package(bank.base, log);
        benchmark::DoNotOptimize(package.index().unitIndex.size());
    }
}
BENCHMARK(BM_Index2000Variants);

void BM_Index2000VariantsFloorReadBytes(benchmark::State& state)
{
    const BenchBank& bank = benchBank();
    for (auto _ : state) {
        const std::string bytes = readFile(bank.base + "HVI");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_Index2000VariantsFloorReadBytes);

void BM_VoiceRecord200Frames(benchmark::State& state)
{
    const BenchBank& bank = benchBank();
    std::ostringstream log;
    const HalvorenEngineV3::SourceStorePackager package(bank.base, log);
    for (auto _ : state) {
        const auto voice = package.loadVoiceSrc("long", "C4", 0, 1);
        benchmark::DoNotOptimize(voice.get());
    }
}
BENCHMARK(BM_VoiceRecord200Frames);

void BM_VoiceRecord200FramesFloorReadBytes(benchmark::State& state)
{
    const BenchBank& bank = benchBank();
    for (auto _ : state) {
        const std::string bytes = readFile(bank.base + "HVC_1");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_VoiceRecord200FramesFloorReadBytes);

}  // namespace
