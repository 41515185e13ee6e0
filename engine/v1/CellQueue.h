#pragma once
// The cells between the building thread and the synthesis thread of a
// first- or second-generation job. The builder links cells in output order
// and finally marks the queue all built; the synthesis thread takes them
// one by one, waiting on a condition variable, and learns under the same
// lock when the last cell has been taken, whichever of the two comes first.
// When kMaxPending cells are linked and not yet taken, the builder waits
// until half of them are taken, so a long score never holds more than that
// many and the two threads do not wake each other for every cell.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>

#include "engine/v1/Cell.h"

namespace HalvorenEngineV1 {

class CellQueue {
public:
    static constexpr std::size_t kMaxPending = 1024;

    // Empty, nothing built, not stopped (before a run and after it).
    void reset();
    // Links cell at the end and publishes its number as the count. False,
    // dropping the cell, once stopped.
    bool push(std::unique_ptr<Cell> cell);
    void setAllBuilt();
    // Wakes both sides; push and takeNext then give up.
    void requestStop();

    // The next cell, waiting for it; null once stopped, or once every cell
    // has been taken and the queue is all built (finished() then holds).
    std::unique_ptr<Cell> takeNext();
    bool finished() const;

    // The number of the last linked cell, and how many cells were linked.
    int count() const;
    std::size_t linked() const;
    // Cells linked and not yet taken.
    std::size_t pending() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable cellsChanged_;
    std::deque<std::unique_ptr<Cell>> cells_;
    int count_ = 0;
    std::size_t linked_ = 0;
    bool allBuilt_ = false;
    bool stopped_ = false;
};

}  // namespace HalvorenEngineV1
