// The queue between the building and synthesis threads: the synthesis side
// ends once the last cell is taken and all are built, in either order,
// whatever the cells' numbers, and a stop frees both sides.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/v1/CellQueue.h"

namespace {

using HalvorenEngineV1::Cell;
using HalvorenEngineV1::CellQueue;

std::unique_ptr<Cell> numbered(int n)
{
    auto cell = std::make_unique<Cell>();
    cell->number = n;
    return cell;
}

// Takes cells until the queue gives none; the numbers taken.
std::vector<int> drain(CellQueue& queue)
{
    std::vector<int> taken;
    while (auto cell = queue.takeNext())
        taken.push_back(cell->number);
    return taken;
}

TEST(CellQueue, EndsWhicheverOfLastCellAndAllBuiltComesFirst)
{
    struct Case {
        const char* what;
        std::vector<int> numbers;
        bool allBuiltFirst;
    };
    const Case cases[] = {
        {"all built before the last cell is taken", {3, 4, 5}, true},
        {"all built after the last cell is taken", {3, 4, 5}, false},
        {"every cell numbered 0 or below", {-3, -2, -1, 0}, false},
        {"no cell at all", {}, false},
    };
    for (const Case& c : cases) {
        CellQueue queue;
        std::vector<int> taken;
        std::thread synthesis([&] { taken = drain(queue); });
        for (int n : c.numbers)
            queue.push(numbered(n));
        if (!c.allBuiltFirst) {
            // Let the synthesis side take everything and wait first.
            while (queue.pending() > 0)
                std::this_thread::yield();
        }
        queue.setAllBuilt();
        synthesis.join();
        EXPECT_EQ(taken, c.numbers) << c.what;
        EXPECT_TRUE(queue.finished()) << c.what;
        EXPECT_EQ(queue.linked(), c.numbers.size()) << c.what;
    }
}

TEST(CellQueue, StopFreesAWaitingSynthesisAndAFullBuilder)
{
    CellQueue queue;
    std::thread synthesis([&] { EXPECT_EQ(queue.takeNext(), nullptr); });
    queue.requestStop();
    synthesis.join();
    EXPECT_FALSE(queue.finished());

    queue.reset();
    bool refused = false;
    std::thread builder([&] {
        // One more than the queue holds: the last push waits until the stop.
        for (std::size_t i = 0; i <= CellQueue::kMaxPending; ++i)
            refused = !queue.push(numbered(int(i)));
    });
    while (queue.linked() < CellQueue::kMaxPending)
        std::this_thread::yield();
    queue.requestStop();
    builder.join();
    EXPECT_TRUE(refused);
    EXPECT_EQ(queue.linked(), CellQueue::kMaxPending);
}

}  // namespace
