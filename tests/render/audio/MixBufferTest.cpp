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

TEST(MixBuffer, SumsSaturateOncePerSampleInsteadOfWrapping) {
    VecSrc a(std::vector<int16_t>(4, 30000)), b(std::vector<int16_t>(4, 30000));
    VecSrc c(std::vector<int16_t>(4, -30000)), d(std::vector<int16_t>(4, -30000));
    EXPECT_EQ(mix({&a, &b, &c}, 1)[0], 30000);  // the sum saturates, not each step
    EXPECT_EQ(mix({&a, &b}, 1)[0], 32767);
    EXPECT_EQ(mix({&c, &d}, 1)[1], -32768);
}

TEST(MixBuffer, StartDelaySplitsTheBufferOrOnlyCountsDown) {
    VecSrc s(ramp(1000)), exact(ramp(1000));
    s.startDelay = exact.startDelay = 100;
    const auto out = mix({&s}, 256);  // silence, then frames 1.. from buffer frame 100
    EXPECT_EQ((std::vector<int>{out[2 * 99], out[2 * 100], out[2 * 255 + 1], s.readPos}),
              (std::vector<int>{0, 1, 156, 156}));

    bool ended = true;
    mix({&exact}, 100, &ended);  // a delay equal to the buffer only counts down
    EXPECT_FALSE(ended);
    EXPECT_EQ((std::vector<int>{exact.startDelay, exact.readPos, mix({&exact}, 100)[0]}), (std::vector<int>{0, 0, 1}));
}

TEST(MixBuffer, PositionsFollowTheClockAndEndsAreMixedToTheBufferEnd) {
    VecSrc late(ramp(2000)), cut(ramp(1000));
    late.available = 50;  // a producer running late
    const auto out = mix({&late}, 256);
    EXPECT_EQ((std::vector<int>{out[2 * 49], out[2 * 50]}), (std::vector<int>{50, 0}));
    late.available = 100;  // still behind the read position: silence, not ended
    bool ended = true;
    EXPECT_EQ(mix({&late}, 256, &ended)[0], 0);
    EXPECT_FALSE(ended);
    late.available = 2000;  // caught up: frame 512 plays at buffer frame 0
    EXPECT_EQ(mix({&late}, 256)[0], 513);

    cut.length = 300;
    mix({&cut}, 256);
    EXPECT_EQ(mix({&cut}, 256, &ended)[2 * 255], 512);  // past the length, still mixed
    EXPECT_TRUE(ended);
    EXPECT_EQ(mix({&cut}, 256)[0], 0);
    mix({}, 7, &ended);
    EXPECT_TRUE(ended);  // an empty list has ended
}

TEST(MixBuffer, PositionsNeverOverflowNorReadBeforeTheArrays) {
    VecSrc ended(ramp(10)), endless(ramp(10)), before(ramp(300));
    for (int i = 0; i < 1000; ++i) mix({&ended}, 256);
    EXPECT_EQ(ended.readPos, 256);  // stops moving once past the end

    endless.length = INT_MAX;
    endless.readPos = INT_MAX - 100;
    mix({&endless}, 256);
    EXPECT_EQ(endless.readPos, INT_MAX);

    before.readPos = -10;
    const auto out = mix({&before}, 256);
    EXPECT_EQ((std::vector<int>{out[2 * 9], out[2 * 10]}), (std::vector<int>{0, 1}));
}
