// Building the index of every package generation at n and 4n variants, each
// unit a distinct name with one variant (the most entries per byte), beside
// the floor of reading the same file's bytes; and loading a first- or
// second-generation record of 200,000 empty frames, beside reading its
// bytes. The heap the build leaves in use is reported per byte of the file
// as heapPerFileByte.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/ByteBuilder.h"
#include "support/ScratchDir.h"
#include "support/bank/BankTree.h"
#include "tools/bankwriter/BankWriterV6.h"
#include "tools/bankwriter/HprBankWriter.h"
#include "voicebank/v1/SourceStorePackager.h"
#include "voicebank/v2/SourceStorePackager.h"
#include "voicebank/v3/SourceStorePackager.h"
#include "voicebank/v4/SourceStorePackager.h"
#include "voicebank/v6/SourceStorePackager.h"

namespace {

constexpr int kVariants = 100000;

std::size_t heapInUse() { return mallinfo2().uordblks; }

// "aaaa", "aaab", ...: four letters for up to 456,976 units.
std::string unitName(int i)
{
    std::string name(4, 'a');
    for (int k = 3; k >= 0; --k, i /= 26)
        name[std::size_t(k)] = char('a' + i % 26);
    return name;
}

std::vector<testbank::Variant> distinctUnits(int count)
{
    std::vector<testbank::Variant> variants;
    for (int i = 0; i < count; ++i)
        variants.push_back({unitName(i), "C4", 0, ""});
    return variants;
}

testbank::PackageFiles packageOf(int generation, int variants)
{
    if (generation <= 2) {
        testbank::HprBankDescription bank;
        bank.generation = generation;
        bank.variants = distinctUnits(variants);
        return testbank::writeHprPackage(bank);
    }
    if (generation == 6) {
        testbank::BankDescriptionV6 bank;
        bank.variants = distinctUnits(variants);
        return testbank::writePackageV6(bank);
    }
    testbank::BankDescription bank;
    bank.ext2 = bank.ext1 = true;
    bank.ext3 = bank.ext4 = generation == 4;
    bank.variants = distinctUnits(variants);
    return testbank::writePackage(bank);
}

// A bank folder of the generation at the size, written once per run.
struct BankOnDisk {
    BankOnDisk(int generation, int variants) : dir("index_bench")
    {
        testbank::writePackageFiles(dir.path(), packageOf(generation, variants));
        base = testbank::packageBasePath(dir.path());
    }
    hvtest::ScratchDir dir;
    std::string base;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The heap a packager of the bank leaves in use while it lives.
template <class Packager>
double heapOfPackage(const std::string& base)
{
    std::ostringstream log;
    const std::size_t before = heapInUse();
    const Packager package(base, log);
    benchmark::DoNotOptimize(&package);
    return double(heapInUse() - before);
}

double heapOfIndex(int generation, const std::string& base)
{
    switch (generation) {
    case 1:
        return heapOfPackage<Halvoren::SourceStorePackager_v1>(base);
    case 2:
        return heapOfPackage<HalvorenEngineV2::SourceStorePackager>(base);
    case 3:
        return heapOfPackage<HalvorenEngineV3::SourceStorePackager>(base);
    case 4:
        return heapOfPackage<HalvorenEngineV4::SourceStorePackager>(base);
    default:
        return heapOfPackage<HalvorenEngineV6::SourceStorePackager>(base);
    }
}

void BM_IndexBuild(benchmark::State& state, int generation)
{
    const BankOnDisk bank(generation, int(state.range(0)));
    const double fileBytes = double(readFile(bank.base + "HVI").size());
    double heap = 0;
    for (auto _ : state)
        heap = heapOfIndex(generation, bank.base);
    state.counters["fileBytes"] = fileBytes;
    state.counters["heapPerFileByte"] = heap / fileBytes;
}

void BM_IndexBuildFloorReadBytes(benchmark::State& state, int generation)
{
    const BankOnDisk bank(generation, int(state.range(0)));
    for (auto _ : state) {
        const std::string bytes = readFile(bank.base + "HVI");
        benchmark::DoNotOptimize(bytes.data());
    }
}

#define HV_INDEX_BENCH(generation)                                                                            \
    BENCHMARK_CAPTURE(BM_IndexBuild, gen##generation, generation)                                             \
        ->Arg(kVariants)                                                                                      \
        ->Arg(4 * kVariants)                                                                                  \
        ->Unit(benchmark::kMillisecond);                                                                      \
    BENCHMARK_CAPTURE(BM_IndexBuildFloorReadBytes, gen##generation, generation)                               \
        ->Arg(kVariants)                                                                                      \
        ->Arg(4 * kVariants)                                                                                  \
        ->Unit(benchmark::kMillisecond)

HV_INDEX_BENCH(1);
HV_INDEX_BENCH(2);
HV_INDEX_BENCH(3);
HV_INDEX_BENCH(4);
HV_INDEX_BENCH(6);

// A continuant record of 200,000 empty frames (800 KB) and no residual.
std::string emptyFramesRecord(int generation)
{
    hvtest::ByteBuilder b;
    b.i32(0).i32(7).i32(256);
    if (generation == 2)
        b.f32(100.0f);
    b.i32(200000);
    for (int f = 0; f < 200000; ++f)
        b.i32(0);
    return b.i32(0).bytes;
}

// The heap the continuant of the package's one record leaves in use.
template <class Packager>
double heapOfRecord(const std::string& base)
{
    std::ostringstream log;
    const Packager package(base, log);
    const std::size_t before = heapInUse();
    const auto continuant = package.loadContinuantSrc(0, "a_m", "C4");
    benchmark::DoNotOptimize(continuant.get());
    return double(heapInUse() - before);
}

void BM_EmptyFramesRecord(benchmark::State& state, int generation)
{
    hvtest::ScratchDir dir("record_bench");
    testbank::HprBankDescription bank;
    bank.generation = generation;
    const std::string record = emptyFramesRecord(generation);
    bank.variants.push_back({"a_m", "C4", 0, record});
    testbank::writePackageFiles(dir.path(), testbank::writeHprPackage(bank));
    const std::string base = testbank::packageBasePath(dir.path());
    double heap = 0;
    for (auto _ : state)
        heap = generation == 1 ? heapOfRecord<Halvoren::SourceStorePackager_v1>(base)
                               : heapOfRecord<HalvorenEngineV2::SourceStorePackager>(base);
    state.counters["fileBytes"] = double(record.size());
    state.counters["heapPerFileByte"] = heap / double(record.size());
}

void BM_EmptyFramesRecordFloorReadBytes(benchmark::State& state, int generation)
{
    hvtest::ScratchDir dir("record_bench");
    const std::string path = dir.file("HVC");
    std::ofstream(path, std::ios::binary) << emptyFramesRecord(generation);
    for (auto _ : state) {
        const std::string bytes = readFile(path);
        benchmark::DoNotOptimize(bytes.data());
    }
}

BENCHMARK_CAPTURE(BM_EmptyFramesRecord, gen1, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EmptyFramesRecordFloorReadBytes, gen1, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EmptyFramesRecord, gen2, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EmptyFramesRecordFloorReadBytes, gen2, 2)->Unit(benchmark::kMillisecond);

}  // namespace
