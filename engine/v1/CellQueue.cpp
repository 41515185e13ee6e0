#include "engine/v1/CellQueue.h"

namespace HalvorenEngineV1 {

void CellQueue::reset()
{
    std::lock_guard<std::mutex> lock(mutex_);
    cells_.clear();
    count_ = 0;
    linked_ = 0;
    allBuilt_ = false;
    stopped_ = false;
}

bool CellQueue::push(std::unique_ptr<Cell> cell)
{
    std::unique_lock<std::mutex> lock(mutex_);
    // A full queue lets the synthesis side take half before building goes on.
    if (cells_.size() >= kMaxPending)
        cellsChanged_.wait(lock, [this] { return stopped_ || cells_.size() <= kMaxPending / 2; });
    if (stopped_)
        return false;
    count_ = cell->number;
    cells_.push_back(std::move(cell));
    ++linked_;
    // Only an empty queue has the synthesis side waiting.
    if (cells_.size() == 1)
        cellsChanged_.notify_all();
    return true;
}

void CellQueue::setAllBuilt()
{
    std::lock_guard<std::mutex> lock(mutex_);
    allBuilt_ = true;
    cellsChanged_.notify_all();
}

void CellQueue::requestStop()
{
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    cellsChanged_.notify_all();
}

std::unique_ptr<Cell> CellQueue::takeNext()
{
    std::unique_lock<std::mutex> lock(mutex_);
    cellsChanged_.wait(lock, [this] { return stopped_ || !cells_.empty() || allBuilt_; });
    if (stopped_ || cells_.empty())
        return nullptr;
    std::unique_ptr<Cell> cell = std::move(cells_.front());
    cells_.pop_front();
    if (cells_.size() == kMaxPending / 2)
        cellsChanged_.notify_all();
    return cell;
}

bool CellQueue::finished() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return allBuilt_ && cells_.empty() && !stopped_;
}

int CellQueue::count() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
}

std::size_t CellQueue::linked() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return linked_;
}

std::size_t CellQueue::pending() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return cells_.size();
}

}  // namespace HalvorenEngineV1
