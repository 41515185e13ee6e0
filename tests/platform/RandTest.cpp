#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/Rand.h"

TEST(Rand, RuntimeSequenceAndRange) {
    hvSrand(1);
    EXPECT_EQ(hvRand(), 41);
    EXPECT_EQ(hvRand(), 18467);
    EXPECT_EQ(hvRand(), 6334);
    EXPECT_EQ(hvRand(), 26500);
    EXPECT_EQ(hvRand(), 19169);
    for (int i = 0; i < 100000; ++i) {
        int v = hvRand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, HV_RAND_MAX);
    }
}

TEST(Rand, AFillDrawsWhatSingleDrawsWould) {
    // Seven values in one go (a four and three more), then the eighth alone.
    hvSrand(1);
    int seven[7];
    hvRandFill(seven, 7);
    EXPECT_EQ(std::vector<int>(seven, seven + 7), (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478}));
    EXPECT_EQ(hvRand(), 29358);
    hvRandFill(seven, 0);
    EXPECT_EQ(hvRand(), 26962);
}

TEST(Rand, EveryThreadStartsFromOne) {
    hvSrand(77);
    int first[2] = {0, 0};
    std::thread t1([&] { first[0] = hvRand(); });
    std::thread t2([&] { first[1] = hvRand(); });
    t1.join();
    t2.join();
    EXPECT_EQ(first[0], 41);
    EXPECT_EQ(first[1], 41);
}
