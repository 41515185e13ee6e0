#include "shell/Interrupt.h"

#include <unistd.h>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

#include "shell/HalvorenApp.h"

namespace {
// Lock-free, so the handler may use them.
std::atomic<bool> g_interrupted{false};
std::atomic<int> g_polled{0};
std::atomic<bool> g_hasPartial{false};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);
// The partial file's path, complete before g_hasPartial is set.
char g_partial[PATH_MAX + 1];

[[noreturn]] void stopNow() {
    if (g_hasPartial.load()) unlink(g_partial);
    _exit(kExitInterrupted);
}

extern "C" void onInterrupt(int) {
    g_interrupted.store(true);
    if (g_polled.load() == 0) stopNow();
}
}  // namespace

void installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGXFSZ, SIG_IGN);
}

bool interruptRequested() { return g_interrupted.load(std::memory_order_relaxed); }

void setInterruptRequested(bool on) { g_interrupted.store(on, std::memory_order_relaxed); }

PolledInterrupt::PolledInterrupt() { g_polled.fetch_add(1); }

PolledInterrupt::~PolledInterrupt() { g_polled.fetch_sub(1); }

PartialFileOnInterrupt::PartialFileOnInterrupt(const CString& path) {
    const std::string bytes = path.toPathBytes();
    if (bytes.size() >= sizeof g_partial) return;
    std::memcpy(g_partial, bytes.c_str(), bytes.size() + 1);
    g_hasPartial.store(true);
}

PartialFileOnInterrupt::~PartialFileOnInterrupt() { g_hasPartial.store(false); }
