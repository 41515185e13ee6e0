#include "shell/Interrupt.h"

#include <atomic>
#include <csignal>

namespace {
// Lock-free, so the handler may set it.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int) { g_interrupted.store(true, std::memory_order_relaxed); }
}  // namespace

void installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool interruptRequested() { return g_interrupted.load(std::memory_order_relaxed); }

void setInterruptRequested(bool on) { g_interrupted.store(on, std::memory_order_relaxed); }
