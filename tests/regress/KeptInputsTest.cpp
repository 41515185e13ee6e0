// Runs one fuzz target over its seeds and its kept inputs (the suite is
// named after the target). The target checks what it reads and stops the
// program on a wrong result; the sanitizers catch the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(folder)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

size_t runAll(const std::filesystem::path& folder)
{
    const std::vector<std::filesystem::path> files = filesIn(folder);
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
    }
    return files.size();
}

}  // namespace

TEST(HV_KEPT_INPUTS, SeedCorpusReads)
{
    EXPECT_GT(runAll(std::filesystem::path(HV_SOURCE_DIR) / "fuzz/corpus" / HV_FUZZ_TARGET), 0u);
}

TEST(HV_KEPT_INPUTS, InputsThatOnceFailedRead)
{
    runAll(std::filesystem::path(HV_SOURCE_DIR) / "tests/corpus/regress" / HV_FUZZ_TARGET);
}
