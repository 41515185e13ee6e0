#pragma once
// This thread's processor time, for benchmarks of single-threaded work short
// enough that time spent waiting for a processor on a shared machine would
// swamp it.
#include <ctime>

namespace hvbench {

inline double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

}  // namespace hvbench
