#pragma once
// What every fuzz target shares: the input handed to a reader as a file in a
// scratch folder of this process, and message boxes that show nothing (a
// reader that refuses a file tells the user, which a fuzz run must not
// print a million times).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/CString.h"
#include "platform/MessageBox.h"

namespace hvfuzz {

class QuietMessageBoxService : public IMessageBoxService {
public:
    MbResult show(const CString&, const CString&, MbButtons buttons, MbIcon) override
    {
        return buttons == MbButtons::ok ? MbResult::ok : MbResult::no;
    }
};

// The folder, made on first use and removed with its files at exit. Each
// process has its own, so parallel fuzz jobs never share a file.
class ScratchFolder {
public:
    static ScratchFolder& instance()
    {
        static ScratchFolder folder;
        return folder;
    }
    const std::filesystem::path& path() const { return path_; }
    ~ScratchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }

private:
    ScratchFolder() : path_(std::filesystem::temp_directory_path() / ("hv_fuzz_" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(path_);
        static QuietMessageBoxService quiet;
        setMessageBoxService(&quiet);
    }
    std::filesystem::path path_;
};

// Writes the bytes to the file name (a relative path, whose folders are made)
// in the scratch folder and returns its path.
inline std::string writeScratchFile(const std::string& name, std::string_view bytes)
{
    const std::filesystem::path path = ScratchFolder::instance().path() / name;
    std::filesystem::create_directories(path.parent_path());
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path.string();
}

inline std::string writeScratchFile(const std::string& name, const uint8_t* data, size_t size)
{
    return writeScratchFile(name, std::string_view(reinterpret_cast<const char*>(data), size));
}

// The scratch folder's path with a trailing separator.
inline std::string scratchFolder() { return ScratchFolder::instance().path().string() + "/"; }

// Readers' messages about damaged files go nowhere.
inline std::ostream& nullLog()
{
    static std::ostream log(nullptr);
    return log;
}

// Stops the run: a fuzz target's own check found wrong data.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace hvfuzz
