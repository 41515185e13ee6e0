#include "platform/ExeDir.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {
CString& overrideDir() {
    static CString dir;
    return dir;
}

CString withoutTrailingSeparator(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return CString::fromPathBytes(dir);
}
}  // namespace

void setExeDirOverride(const CString& folder) { overrideDir() = folder; }

CString getExeDir() {
    if (!overrideDir().isEmpty()) return overrideDir();
    if (const char* env = std::getenv("HALVOREN_HOME"); env && *env) return withoutTrailingSeparator(env);
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return CString(u".");
    return withoutTrailingSeparator(exe.parent_path().string());
}
