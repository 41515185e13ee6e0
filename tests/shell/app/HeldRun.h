#pragma once
// Runs the program and signals it at one exact point, without timing: a
// seccomp filter hands the chosen system calls of the program to the test,
// which lets each go on until one names the given path. That call is held
// while the signal is sent, so the program cannot pass the point first.
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

extern char** environ;

namespace progtest {

#if defined(__x86_64__)
inline constexpr uint32_t kAuditArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
inline constexpr uint32_t kAuditArch = AUDIT_ARCH_AARCH64;
#endif

// A system call and the argument that holds its path.
struct PathCall {
    long nr;
    int pathArg;
};

struct HeldRun {
    bool watched = false;  // the kernel let the test watch the program's calls
    bool held = false;     // the program made the call and was signalled in it
    int code = -1;      // its exit code; -1 when it did not exit
};

namespace held_detail {

// A message of one byte with room for one descriptor.
struct FdMessage {
    char data = 0;
    iovec iov{&data, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr msg{};
    FdMessage()
    {
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
    }
    FdMessage(const FdMessage&) = delete;
    FdMessage& operator=(const FdMessage&) = delete;
};

inline bool sendFd(int socket, int fd)
{
    FdMessage m;
    cmsghdr* c = CMSG_FIRSTHDR(&m.msg);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(c), &fd, sizeof(int));
    return sendmsg(socket, &m.msg, 0) == 1;
}

inline int receiveFd(int socket)
{
    FdMessage m;
    if (recvmsg(socket, &m.msg, MSG_CMSG_CLOEXEC) != 1) return -1;
    cmsghdr* c = CMSG_FIRSTHDR(&m.msg);
    if (c == nullptr || c->cmsg_type != SCM_RIGHTS) return -1;
    int fd = -1;
    std::memcpy(&fd, CMSG_DATA(c), sizeof(int));
    return fd;
}

// The text at addr in the memory of thread tid, read a page at a time so
// that no read runs into a page that is not mapped.
inline std::string textAt(pid_t tid, uint64_t addr)
{
    const int fd = open(("/proc/" + std::to_string(tid) + "/mem").c_str(), O_RDONLY | O_CLOEXEC);
    std::string text;
    char page[4096];
    while (fd >= 0 && text.size() < sizeof page) {
        const size_t want = sizeof page - addr % sizeof page;
        const ssize_t got = pread(fd, page, want, off_t(addr));
        if (got <= 0) break;
        const size_t len = strnlen(page, size_t(got));
        text.append(page, len);
        if (len < size_t(got) || size_t(got) < want) break;
        addr += want;
    }
    if (fd >= 0) close(fd);
    return text;
}

}  // namespace held_detail

// Runs the program on args with HALVOREN_HOME at "home" in dir and its
// standard error in "stderr.txt" there; holds it at the first of `calls`
// whose path is `path` and sends `signal` while it is held.
inline HeldRun runHeldAt(const hvtest::ScratchDir& dir, const std::vector<std::string>& args,
                         const std::vector<PathCall>& calls, const std::string& path, int signal)
{
    std::vector<sock_filter> filter = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kAuditArch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    for (const PathCall& call : calls) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, uint32_t(call.nr), 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{uint16_t(filter.size()), filter.data()};

    // Everything the child needs is made before the fork: it only makes
    // system calls.
    std::vector<std::string> strings = {"halvoren"};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    std::string home = "HALVOREN_HOME=" + dir.file("home");
    std::vector<char*> envp = {home.data()};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "HALVOREN_HOME=", 14) != 0) envp.push_back(*e);
    envp.push_back(nullptr);
    const std::string err = dir.file("stderr.txt");

    HeldRun run;
    int sockets[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return run;
    const pid_t child = fork();
    if (child < 0) return run;
    if (child == 0) {
        const int in = open("/dev/null", O_RDWR);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || errFd < 0 || dup2(in, 0) < 0 || dup2(in, 1) < 0 || dup2(errFd, 2) < 0) _exit(126);
        const int listener = prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0
                                 ? -1
                                 : int(syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER,
                                               SECCOMP_FILTER_FLAG_NEW_LISTENER, &program));
        if (listener < 0 || !held_detail::sendFd(sockets[1], listener)) _exit(126);
        close(listener);
        execve(HALVOREN_EXE, argv.data(), envp.data());
        _exit(127);
    }
    close(sockets[1]);
    const int listener = held_detail::receiveFd(sockets[0]);
    close(sockets[0]);
    run.watched = listener >= 0;
    while (listener >= 0) {
        pollfd ready{listener, POLLIN, 0};
        if (poll(&ready, 1, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (!(ready.revents & POLLIN)) break;  // the program has ended
        seccomp_notif call{};
        if (ioctl(listener, SECCOMP_IOCTL_NOTIF_RECV, &call) != 0) continue;  // its caller has gone
        int pathArg = 0;
        for (const PathCall& c : calls)
            if (c.nr == call.data.nr) pathArg = c.pathArg;
        if (!run.held && held_detail::textAt(pid_t(call.pid), call.data.args[pathArg]) == path) {
            run.held = true;
            kill(child, signal);  // the call is never answered: the signal ends it
            continue;
        }
        seccomp_notif_resp go{};
        go.id = call.id;
        go.flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
        ioctl(listener, SECCOMP_IOCTL_NOTIF_SEND, &go);
    }
    if (listener >= 0) close(listener);
    int status = 0;
    if (waitpid(child, &status, 0) == child && WIFEXITED(status)) run.code = WEXITSTATUS(status);
    return run;
}

}  // namespace progtest
