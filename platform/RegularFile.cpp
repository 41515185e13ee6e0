#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

// The descriptor of the regular file at path, or -1 with the reason in
// problem.
int openRegular(const CString& path, std::string& problem) {
    // Without O_NONBLOCK the open of a FIFO waits for a writer; with it the
    // open returns at once and the file's kind can be checked.
    const int fd = ::open(path.toPathBytes().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = systemErrorText(errno);
        return -1;
    }
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    if (!known || !S_ISREG(st.st_mode)) {
        problem = !known ? systemErrorText(errno) : S_ISDIR(st.st_mode) ? systemErrorText(EISDIR) : "not a regular file";
        ::close(fd);
        return -1;
    }
    // Reads of a regular file never block; the flag only mattered for the open.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

}  // namespace

FILE* openRegularFile(const CString& path, const char* mode) {
    std::string problem;
    const int fd = openRegular(path, problem);
    if (fd < 0) return nullptr;
    FILE* f = ::fdopen(fd, mode);
    if (!f) ::close(fd);
    return f;
}

std::string regularFileProblem(const CString& path) {
    std::string problem;
    const int fd = openRegular(path, problem);
    if (fd >= 0) ::close(fd);
    return problem;
}

std::string systemErrorText(int error) { return std::generic_category().message(error); }
