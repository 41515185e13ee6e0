#pragma once
// A per-process scratch folder, removed with its content at the end.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/CString.h"

class TempFolder {
public:
    explicit TempFolder(const std::string& tag)
        : dir_(std::filesystem::temp_directory_path() / ("hv_" + tag + "_" + std::to_string(getpid()))) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    CString cpath() const { return CString::fromUtf8(dir_.string()); }
    CString cfile(const std::string& name) const { return CString::fromUtf8(file(name)); }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }
    CString write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return cfile(name);
    }

private:
    std::filesystem::path dir_;
};
