#pragma once
// A per-process scratch folder, removed with its content at the end, with
// the file helpers the dictionary tests use on it.
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/CString.h"
#include "support/ScratchDir.h"

class TempFolder {
public:
    explicit TempFolder(const std::string& tag) : dir_(tag) {}
    std::string file(const std::string& name) const { return dir_.file(name); }
    CString cpath() const { return CString::fromPathBytes(dir_.path()); }
    CString cfile(const std::string& name) const { return CString::fromPathBytes(file(name)); }
    bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }
    CString write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return cfile(name);
    }

private:
    hvtest::ScratchDir dir_;
};
