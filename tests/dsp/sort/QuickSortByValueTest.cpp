#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "dsp/QuickSortByValue.h"

namespace {

using Halvoren::quickSortByValue;

struct Case {
    const char* name;
    std::vector<float> values;
    std::vector<std::int32_t> indices;
    int lo;
    int hi;
    std::vector<float> wantValues;
    std::vector<std::int32_t> wantIndices;
};

TEST(QuickSortByValue, SortsDescendingAndCarriesTheIndices)
{
    const Case cases[] = {
        // Pivot 0.5: 1.0 fills the hole at 0, the hole moves to 2, then 2.0 wins the next round.
        {"three", {0.5f, 2.0f, 1.0f}, {0, 1, 2}, 0, 2, {2.0f, 1.0f, 0.5f}, {1, 2, 0}},
        // Pivot 1 (index 0): 2 moves to slot 0, the equal 1 stays where it was met,
        // the pivot lands in slot 2. A stable sort would give 2, 0, 1.
        {"tie", {1.0f, 1.0f, 2.0f}, {0, 1, 2}, 0, 2, {2.0f, 1.0f, 1.0f}, {2, 1, 0}},
        {"lo equals hi", {3.0f, 1.0f, 2.0f}, {0, 1, 2}, 1, 1, {3.0f, 1.0f, 2.0f}, {0, 1, 2}},
        {"lo above hi", {1.0f, 2.0f, 3.0f}, {0, 1, 2}, 2, 0, {1.0f, 2.0f, 3.0f}, {0, 1, 2}},
        // Only slots 1..3 move; slots 0 and 4 stay.
        {"inner range", {0.0f, 1.0f, 3.0f, 2.0f, 9.0f}, {0, 1, 2, 3, 4}, 1, 3,
         {0.0f, 3.0f, 2.0f, 1.0f, 9.0f}, {0, 2, 3, 1, 4}},
        {"already descending", {4.0f, 3.0f, 2.0f, 1.0f}, {7, 6, 5, 4}, 0, 3, {4.0f, 3.0f, 2.0f, 1.0f}, {7, 6, 5, 4}},
    };
    for (Case c : cases) {
        quickSortByValue(c.values.data(), c.indices.data(), c.lo, c.hi);
        EXPECT_EQ(c.values, c.wantValues) << c.name;
        EXPECT_EQ(c.indices, c.wantIndices) << c.name;
    }
}

// Runs under the test's time-out: the partition steps past each element it
// has just copied, so a NaN cannot hold it in place.
TEST(QuickSortByValue, EndsOnANan)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> values = {1.0f, nan, 2.0f};
    std::vector<std::int32_t> indices = {0, 1, 2};
    quickSortByValue(values.data(), indices.data(), 0, 2);
    // Pivot 1: 2 fills slot 0, the NaN stops the upward scan and fills slot 2,
    // the pivot lands in slot 1.
    EXPECT_EQ(values[0], 2.0f);
    EXPECT_EQ(values[1], 1.0f);
    EXPECT_TRUE(std::isnan(values[2]));
    EXPECT_EQ(indices, (std::vector<std::int32_t>{2, 0, 1}));

    std::vector<float> many(64, nan);
    std::vector<std::int32_t> order(64);
    for (int i = 0; i < 64; ++i)
        order[i] = i;
    many[10] = 3.0f;
    quickSortByValue(many.data(), order.data(), 0, 63);
    std::vector<bool> seen(64, false);
    for (std::int32_t i : order)
        seen[std::size_t(i)] = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 64) << "every index kept once";
}

// The partition exactly as described, step by step: no step past the copied
// element. Without NaN it ends and must agree with the sort under test.
void partitionAsDescribed(float* values, std::int32_t* indices, int lo, int hi, int& at)
{
    const float v = values[lo];
    const std::int32_t k = indices[lo];
    int i = lo;
    int j = hi;
    while (i < j) {
        while (i < j && !(values[j] > v))
            --j;
        values[i] = values[j];
        indices[i] = indices[j];
        while (i < j && !(values[i] < v))
            ++i;
        values[j] = values[i];
        indices[j] = indices[i];
    }
    values[i] = v;
    indices[i] = k;
    at = i;
}

void sortAsDescribed(float* values, std::int32_t* indices, int lo, int hi)
{
    while (lo < hi) {
        int p = 0;
        partitionAsDescribed(values, indices, lo, hi, p);
        sortAsDescribed(values, indices, lo, p - 1);
        lo = p + 1;
    }
}

TEST(QuickSortByValue, MatchesTheDescribedStepsOnRandomArraysWithTies)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + int(random() % 40);
        std::vector<float> values(static_cast<std::size_t>(n));
        for (float& v : values)
            v = float(int(random() % 6)) * 0.5f;  // few distinct values: many ties
        std::vector<std::int32_t> indices(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            indices[std::size_t(i)] = i;
        std::vector<float> wantValues = values;
        std::vector<std::int32_t> wantIndices = indices;
        sortAsDescribed(wantValues.data(), wantIndices.data(), 0, n - 1);
        quickSortByValue(values.data(), indices.data(), 0, n - 1);
        ASSERT_EQ(values, wantValues) << "round " << round;
        ASSERT_EQ(indices, wantIndices) << "round " << round;
        for (int i = 1; i < n; ++i)
            ASSERT_GE(values[std::size_t(i - 1)], values[std::size_t(i)]) << "round " << round;
    }
}

}  // namespace
