#pragma once
// A per-process scratch folder below the system temp folder, removed with
// its content when the object goes.
#include <unistd.h>

#include <filesystem>
#include <string>

namespace hvtest {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag)
        : dir_(std::filesystem::temp_directory_path() /
               ("hv_" + tag + "_" + std::to_string(getpid()) + "_" + std::to_string(counter()++)))
    {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string path() const { return dir_.string(); }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
    std::filesystem::path dir_;
};

}  // namespace hvtest
