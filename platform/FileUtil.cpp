#include "platform/FileUtil.h"

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/RegularFile.h"

namespace fs = std::filesystem;

namespace {
fs::path toPath(const CString& p) { return fs::path(p.toPathBytes()); }
}  // namespace

FILE* openFile(const CString& path, const char* mode) {
    if (mode[0] == 'r') return openRegularFile(path, mode);
    return std::fopen(path.toPathBytes().c_str(), mode);
}

std::optional<uint64_t> bytesLeftInFile(FILE* file) {
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0) return std::nullopt;
    const off_t end = ftello(file);
    if (fseeko(file, here, SEEK_SET) != 0 || end < here) return std::nullopt;
    return static_cast<uint64_t>(end - here);
}

bool isFileExist(const CString& path) {
    std::error_code ec;
    return fs::is_regular_file(toPath(path), ec);
}

bool pathExists(const CString& path) {
    std::error_code ec;
    return fs::exists(toPath(path), ec);
}

bool isDirectory(const CString& path) {
    std::error_code ec;
    return fs::is_directory(toPath(path), ec);
}

void removeFile(const CString& path) {
    std::error_code ec;
    fs::remove(toPath(path), ec);
}

bool renameFile(const CString& from, const CString& to) {
    std::error_code ec;
    fs::rename(toPath(from), toPath(to), ec);
    return !ec;
}

bool flushFileToDisk(FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

CString resolveSymbolicLinks(const CString& path) {
    fs::path p = toPath(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(p, ec); ++hops) {
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) break;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return CString::fromPathBytes(p.string());
}

bool copyPermissions(const CString& from, const CString& to) {
    std::error_code ec;
    const fs::file_status status = fs::status(toPath(from), ec);
    if (ec) return false;
    fs::permissions(toPath(to), status.permissions(), fs::perm_options::replace, ec);
    return !ec;
}

bool makeDirectories(const CString& path) {
    std::error_code ec;
    fs::create_directories(toPath(path), ec);
    return !ec || fs::is_directory(toPath(path), ec);
}

CString getFileExt(const CString& path) {
    int dot = path.reverseFind(u'.');
    if (dot < 0) return path;
    return path.mid(dot + 1);
}

std::string fileNameOfStoredPath(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

CString fileNameOfStoredPath(const CString& path) {
    int cut = std::max(path.reverseFind(u'\\'), path.reverseFind(u'/'));
    return cut < 0 ? path : path.mid(cut + 1);
}

CString folderOfPath(const CString& path) {
    int cut = std::max(path.reverseFind(u'\\'), path.reverseFind(u'/'));
    return cut < 0 ? CString() : path.left(cut + 1);
}

bool readWholeFile(const CString& path, std::string& out, uint64_t maxBytes) {
    out.clear();
    FilePtr f(openFile(path, "rb"));
    if (!f) return false;
    const std::optional<uint64_t> size = bytesLeftInFile(f.get());
    if (!size || *size > maxBytes) return false;
    // The file may grow while it is read: never more than the cap is taken.
    out.resize(static_cast<size_t>(*size));
    const size_t got = std::fread(out.data(), 1, out.size(), f.get());
    if (std::ferror(f.get()) != 0) {
        out.clear();
        return false;
    }
    out.resize(got);
    return true;
}

std::vector<std::string> listFolder(const CString& folder, bool wantFolders) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(toPath(folder), ec);
    if (ec) return names;
    for (const auto& entry : it) {
        std::error_code typeEc;
        bool dir = entry.is_directory(typeEc);
        if (typeEc || dir != wantFolders) continue;
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
