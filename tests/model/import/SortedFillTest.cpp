// Filling an empty container in one pass gives the order and overlap flags
// of inserting the elements one by one.
#include <gtest/gtest.h>

#include "model/current/Segments.h"
#include "model/import/SortedFill.h"

using namespace HVCurrentModel;

TEST(SortedFillTest, OrderAndFlagsAreThoseOfOneByOneInsertion)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> spans;  // (pos, width), in insertion order
        // (insertion index, overlapped) in container order.
        std::vector<std::pair<int, bool>> expected;
    };
    const Case cases[] = {
        {"overlapping pair", {{0, 10}, {5, 10}}, {{0, true}, {1, true}}},
        {"touching spans", {{0, 10}, {10, 5}}, {{0, false}, {1, false}}},
        {"equal positions keep their order", {{20, 1}, {10, 1}, {20, 1}}, {{1, false}, {0, true}, {2, true}}},
        {"a long first span reaches far", {{0, 100}, {10, 1}, {50, 1}, {200, 1}},
         {{0, true}, {1, true}, {2, true}, {3, false}}},
        {"inserted out of order", {{50, 10}, {0, 55}, {70, 5}}, {{1, true}, {0, true}, {2, false}}},
        // 5 + 0 > 0 and 0 + 10 > 5: a span of no width inside another overlaps it.
        {"no width inside", {{0, 10}, {5, 0}}, {{0, true}, {1, true}}},
        // 5 + 0 > 5 fails: no width at the same start does not.
        {"no width at the start", {{5, 0}, {5, 3}}, {{0, false}, {1, false}}},
        // 5 - 3 = 2 > 0, but 5 - 6 = -1 is not.
        {"negative widths", {{0, 10}, {5, -3}, {40, 10}, {45, -6}}, {{0, true}, {1, true}, {2, false}, {3, false}}},
        {"nothing", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BaseSegment*> elements;
        for (auto [pos, width] : c.spans) elements.push_back(new InstrumentSegment(pos, width));
        InstrumentSegmentContainer into;
        fillSorted(into, elements);
        std::vector<std::pair<int, bool>> got;
        for (BaseSegment* e : into)
            got.emplace_back(static_cast<int>(std::find(elements.begin(), elements.end(), e) - elements.begin()),
                             e->overlapped);
        EXPECT_EQ(got, c.expected);
    }
}
