#include "engine/CThread.h"

#include <system_error>

namespace HalvorenEngine {

bool CThread::start()
{
    if (started_.exchange(true, std::memory_order_acq_rel))
        return false;
    thread_.join();
    bool started = false;
    try {
        started = thread_.start([this] { run(); });
    } catch (const std::system_error&) {
        started = false;
    }
    if (!started)
        started_.store(false, std::memory_order_release);
    return started;
}

void CThread::run()
{
    if (runnable_ != nullptr)
        runnable_->run();
    started_.store(false, std::memory_order_release);
}

}  // namespace HalvorenEngine
