#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/ReadBudget.h"

TEST(ReadBudget, LimitsGrowWithTheFileSize)
{
    // The defaults: one record per byte plus 65,536, and 256 bytes built per
    // byte plus 64 MiB.
    const ReadBudget small(1000);
    EXPECT_EQ(small.recordLimit(), 66536u);             // 1000 + 65536
    EXPECT_EQ(small.byteLimit(), 256000u + 67108864u);  // 256 * 1000 + 64 << 20
    const ReadBudget large(std::uint64_t(3) << 30);
    EXPECT_EQ(large.recordLimit(), (std::uint64_t(3) << 30) + 65536u);
    EXPECT_EQ(large.byteLimit(), (std::uint64_t(768) << 30) + (std::uint64_t(64) << 20));  // 256 * 3 GiB

    // A product that would wrap is held at the largest value.
    ReadLimits huge;
    huge.bytesPerFileByte = std::uint64_t(1) << 62;
    EXPECT_EQ(ReadBudget(16, huge).byteLimit(), std::numeric_limits<std::uint64_t>::max());
}

TEST(ReadBudget, RecordsAndBytesAreCountedTogetherAndStaySpent)
{
    // 10 bytes of file: 2 * 10 + 1 = 21 records, 3 * 10 + 5 = 35 bytes.
    const ReadLimits limits{2, 1, 3, 5, 4};
    struct Step {
        const char* what;
        std::uint64_t builds;
        bool granted;
    };
    const Step steps[] = {
        {"a record building 30 bytes", 30, true},
        {"one building 6 more than the 5 left", 6, false},
        {"one building nothing, after the budget is spent", 0, false},
    };
    ReadBudget budget(10, limits);
    for (const Step& s : steps) EXPECT_EQ(budget.takeRecord(s.builds), s.granted) << s.what;
    EXPECT_EQ(budget.records(), 1u);
    EXPECT_EQ(budget.bytesBuilt(), 30u);
    EXPECT_TRUE(budget.spent());

    ReadBudget counted(10, limits);
    int made = 0;
    while (counted.takeRecord()) ++made;
    EXPECT_EQ(made, 21);
}

TEST(ReadBudget, DepthBeyondTheLimitSpendsTheBudget)
{
    ReadLimits limits;
    limits.maxDepth = 3;
    ReadBudget budget(100, limits);
    EXPECT_TRUE(budget.allowsDepth(3));
    EXPECT_TRUE(budget.takeRecord());
    EXPECT_FALSE(budget.allowsDepth(4));
    EXPECT_FALSE(budget.allowsDepth(1));
    EXPECT_FALSE(budget.takeRecord());
}
