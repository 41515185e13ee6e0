#include "ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace demobank {

void parallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t, unsigned)>& work)
{
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    auto run = [&](unsigned thread) {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                work(i, thread);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                next = count;
            }
        }
    };
    const std::size_t helpers = std::min<std::size_t>(std::max(1u, threads), count) - (count > 0 ? 1 : 0);
    std::vector<std::thread> pool;
    for (std::size_t t = 0; t < helpers; ++t)
        pool.emplace_back(run, static_cast<unsigned>(t + 1));
    run(0);
    for (std::thread& t : pool)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace demobank
