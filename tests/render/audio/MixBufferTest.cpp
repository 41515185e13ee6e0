#include "render/audio/MixBuffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "TestSources.h"

using audiotest::ramp;
using audiotest::VecSrc;

namespace {

// One buffer of the given sources; returns interleaved frames.
std::vector<int16_t> mix(std::vector<AudioSrc*> sources, int frames, bool* ended = nullptr) {
    static std::vector<int32_t> acc;
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 12345);
    const bool e = mixBuffer(out.data(), frames, sources, acc);
    if (ended) *ended = e;
    return out;
}

}  // namespace

TEST(MixBuffer, BalanceLawAndTruncationTowardZero) {
    struct Case {
        float gain, pan;
        int16_t in, wantL, wantR;
    };
    const Case cases[] = {
        {1, 0, 1000, 1000, 1000}, {1, 1, 1000, 0, 1000},       {1, -1, 1000, 1000, 0},
        {1, 0.5f, 1001, 500, 1001}, {1, -0.5f, -1001, -1001, -500}, {0.5f, 0, -3, -1, -1},
        {std::numeric_limits<float>::quiet_NaN(), 0, 1000, 0, 0}, {1e30f, 0, 30000, 32767, 32767},
    };
    for (const Case& c : cases) {
        VecSrc s(std::vector<int16_t>(8, c.in));  // mono: both sides from one array
        s.gain = c.gain;
        s.pan = c.pan;
        const auto out = mix({&s}, 8);
        EXPECT_EQ(out[6], c.wantL) << c.gain << " " << c.pan << " " << c.in;
        EXPECT_EQ(out[7], c.wantR) << c.gain << " " << c.pan << " " << c.in;
    }
}

TEST(MixBuffer, StartDelaySplitsTheBufferOrOnlyCountsDown) {
    VecSrc s(ramp(1000));
    s.startDelay = 100;
    auto out = mix({&s}, 256);
    EXPECT_EQ(out[2 * 99], 0);
    EXPECT_EQ(out[2 * 100], 1);
    EXPECT_EQ(out[2 * 255 + 1], 156);
    EXPECT_EQ(s.readPos, 156);

    VecSrc exact(ramp(1000));
    exact.startDelay = 100;
    bool ended = true;
    mix({&exact}, 100, &ended);  // a delay equal to the buffer only counts down
    EXPECT_EQ(exact.startDelay, 0);
    EXPECT_EQ(exact.readPos, 0);
    EXPECT_FALSE(ended);
    EXPECT_EQ(mix({&exact}, 100)[0], 1);
}

TEST(MixBuffer, PositionsFollowTheClockNotTheData) {
    VecSrc s(ramp(2000));
    s.available = 50;  // a producer running late
    auto out = mix({&s}, 256);
    EXPECT_EQ(out[2 * 49], 50);
    EXPECT_EQ(out[2 * 50], 0);
    s.available = 100;  // still behind the read position: silence, not ended
    bool ended = true;
    EXPECT_EQ(mix({&s}, 256, &ended)[0], 0);
    EXPECT_FALSE(ended);
    s.available = 2000;  // caught up: frame 512 plays at buffer frame 0
    EXPECT_EQ(mix({&s}, 256)[0], 513);
}

TEST(MixBuffer, SourceEndingMidBufferMixesToTheBufferEndThenStops) {
    VecSrc s(ramp(1000));
    s.length = 300;
    mix({&s}, 256);
    bool ended = false;
    EXPECT_EQ(mix({&s}, 256, &ended)[2 * 255], 512);  // past the length, still mixed
    EXPECT_TRUE(ended);
    EXPECT_EQ(mix({&s}, 256, &ended)[0], 0);
    EXPECT_TRUE(ended);
    mix({}, 7, &ended);
    EXPECT_TRUE(ended);  // an empty list has ended
}

TEST(MixBuffer, SumsSaturateOncePerSampleInsteadOfWrapping) {
    VecSrc a(std::vector<int16_t>(4, 30000)), b(std::vector<int16_t>(4, 30000));
    VecSrc c(std::vector<int16_t>(4, -30000)), d(std::vector<int16_t>(4, -30000));
    EXPECT_EQ(mix({&a, &b}, 4)[0], 32767);
    EXPECT_EQ(mix({&c, &d}, 4)[1], -32768);
    a.readPos = b.readPos = c.readPos = 0;
    EXPECT_EQ(mix({&a, &b, &c}, 4)[0], 30000);  // the sum saturates, not each step
}

TEST(MixBuffer, PositionsNeverOverflowNorReadBeforeTheArrays) {
    VecSrc ended(ramp(10));
    for (int i = 0; i < 1000; ++i) mix({&ended}, 256);
    EXPECT_EQ(ended.readPos, 256);  // stops moving once past the end

    VecSrc endless(ramp(10));
    endless.length = INT_MAX;
    endless.readPos = INT_MAX - 100;
    mix({&endless}, 256);
    EXPECT_EQ(endless.readPos, INT_MAX);

    VecSrc before(ramp(300));
    before.readPos = -10;
    const auto out = mix({&before}, 256);
    EXPECT_EQ(out[2 * 9], 0);
    EXPECT_EQ(out[2 * 10], 1);
}
