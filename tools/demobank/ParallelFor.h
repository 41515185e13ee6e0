#pragma once
// Runs work(i, thread) for i = 0 .. count - 1 on up to `threads` threads
// (thread = 0 .. threads - 1, one call at a time each), each index once.
// Callers write only what belongs to the index (and use what belongs to the
// thread), so the results do not depend on the order the threads take the
// indices in. The first
// exception thrown by a call is thrown again here, after every thread ended.
#include <cstddef>
#include <functional>

namespace demobank {

void parallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t, unsigned)>& work);

}  // namespace demobank
