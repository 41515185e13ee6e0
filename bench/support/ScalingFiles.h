#pragma once
// Scratch files of the scaling benchmarks, removed when they go.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileUtil.h"

namespace hvbench {

constexpr uint64_t kMiB = uint64_t{1} << 20;
// The input sizes of every scaling benchmark.
inline const std::vector<uint64_t> kScalingSizes = {kMiB, 4 * kMiB, 16 * kMiB};

class ScratchFile {
public:
    explicit ScratchFile(const std::string& name)
        : path_((std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "_" + name)).string())
    {
    }
    ~ScratchFile() { std::filesystem::remove(path_); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void write(const std::string& bytes) const
    {
        if (std::FILE* f = std::fopen(path_.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }
    const std::string& path() const { return path_; }
    CString cpath() const { return CString::fromUtf8(path_); }
    uint64_t size() const { return std::filesystem::file_size(path_); }
    // The floor of every file reader: the file's bytes read in one piece.
    void readWhole() const
    {
        std::string bytes;
        readWholeFile(cpath(), bytes, uint64_t{1} << 31);
        benchmark::DoNotOptimize(bytes.data());
    }

private:
    std::string path_;
};

}  // namespace hvbench
