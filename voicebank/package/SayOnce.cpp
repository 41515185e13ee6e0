#include "voicebank/package/SayOnce.h"

#include <sys/stat.h>

#include <mutex>
#include <set>

namespace Halvoren {

namespace {
constexpr std::size_t kFilesRemembered = 4096;

// The path with what the file is on disk now.
std::string fileKey(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return path + "\n(missing)";
    return path + "\n" + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) + ":" +
           std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
}
}  // namespace

void sayOnce(std::ostream& log, const std::string& path, const std::string& line)
{
    static std::mutex lock;
    static std::set<std::string> said;
    const std::string key = fileKey(path);
    const std::lock_guard<std::mutex> guard(lock);
    // A run that meets ever more damaged files (a file rewritten again and
    // again) keeps a bounded memory of them.
    if (said.size() >= kFilesRemembered)
        said.clear();
    if (said.insert(key).second)
        log << line << std::endl;
}

}  // namespace Halvoren
