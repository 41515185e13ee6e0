#include "platform/Thread.h"

#include <chrono>

bool PlatformThread::start(std::function<void()> routine) {
    if (thread_.joinable()) return false;
    thread_ = std::thread(std::move(routine));
    return true;
}

PlatformThread::~PlatformThread() {
    // A joinable std::thread must not be destroyed: that ends the program.
    if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        join();
}

void PlatformThread::join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void sleepMs(unsigned milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
