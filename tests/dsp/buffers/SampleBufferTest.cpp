#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "dsp/FIFOSampleBuffer.h"
#include "dsp/FrameMags.h"

using namespace Halvoren;

namespace {
std::vector<float> contents(const FIFOSampleBufferTemplate<float>& b)
{
    return std::vector<float>(b.ptrBegin(), b.ptrBegin() + b.numSamples());
}

// Appends first, first + 1, ... (n values).
void fill(FIFOSampleBufferTemplate<float>& b, int n, float first = 0)
{
    std::vector<float> v(n);
    std::iota(v.begin(), v.end(), first);
    b.putSamples(v.data(), static_cast<std::uint32_t>(n));
}
}  // namespace

TEST(SampleBuffer, GrowsInGranularityStepsWithAlignedStorage)
{
    FIFOSampleBufferTemplate<float> b(512);
    EXPECT_EQ(b.getSizeInBytes(), 512u);  // 32 asked, room for 128 floats
    fill(b, 128);
    EXPECT_EQ(b.getSizeInBytes(), 512u);
    fill(b, 1, 128);
    EXPECT_EQ(b.getSizeInBytes(), 1024u);
    const auto start = reinterpret_cast<std::uintptr_t>(b.ptrBegin());
    EXPECT_EQ(start % 16, 0u);
    EXPECT_LT(start - reinterpret_cast<std::uintptr_t>(b.allocatedBlock()), 16u);
    const auto v = contents(b);
    ASSERT_EQ(v.size(), 129u);
    EXPECT_EQ(v[128], 128.0f);
}

TEST(SampleBuffer, ConsumeMovesTheReadPositionAndTheNextPutRewinds)
{
    FIFOSampleBufferTemplate<float> b(512);
    fill(b, 10);
    float* start = b.ptrBegin();
    std::vector<float> out(8, -1.0f);
    EXPECT_EQ(b.receiveSamples(out.data(), 3), 3u);
    EXPECT_EQ(out[2], 2.0f);
    EXPECT_EQ(b.ptrBegin(), start + 3);
    fill(b, 2, 100);
    EXPECT_EQ(b.ptrBegin(), start);
    EXPECT_EQ(contents(b), (std::vector<float>{3, 4, 5, 6, 7, 8, 9, 100, 101}));
    // Appending nothing rewinds as well.
    b.receiveSamples(2);
    b.putSamples(FIFOSampleBufferTemplate<float>(512));
    EXPECT_EQ(b.ptrBegin(), start);
    EXPECT_EQ(contents(b), (std::vector<float>{5, 6, 7, 8, 9, 100, 101}));

    // Asking for more than is there returns the count and leaves the position.
    b.receiveSamples(2);
    EXPECT_EQ(b.receiveSamples(50), 5u);
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(b.getBufferPos(), 2u);
    fill(b, 5);
    std::fill(out.begin(), out.end(), -1.0f);
    EXPECT_EQ(b.receiveSamples(out.data(), 8), 5u);
    EXPECT_EQ(out[5], -1.0f);
}

TEST(SampleBuffer, HugeCountsAndSelfCopiesKeepTheData)
{
    FIFOSampleBufferTemplate<float> b(512);
    fill(b, 100);
    EXPECT_THROW(b.ensureCapacity(0x40000000u), std::length_error);  // 4 GiB of floats
    EXPECT_THROW(b.putSamples(std::numeric_limits<std::uint32_t>::max()), std::length_error);
    EXPECT_EQ(b.numSamples(), 100u);
    EXPECT_THROW(FIFOSampleBufferTemplate<float>(0), std::invalid_argument);

    b.putSamples(b);  // grows while the source is its own storage
    const auto v = contents(b);
    ASSERT_EQ(v.size(), 200u);
    EXPECT_EQ(v[100], 0.0f);
    EXPECT_EQ(v[199], 99.0f);

    FrameMags src, dst;
    fill(src, 3, 1);
    src.frameSize = 512;
    fill(dst, 9);
    dst.assign(src);
    dst.assign(dst);
    EXPECT_EQ(contents(dst), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(dst.frameSize, 512);
    // Grown storage is zeroed.
    dst.resize(200);
    EXPECT_EQ(dst[199], 0.0f);
}

TEST(FrameArithmetic, WorksOverTheShorterLength)
{
    FastVector<float> a(512), b(512), out(512);
    fill(a, 10, 10);  // 10..19
    fill(b, 6, 0);    // 0..5
    frameMix(a, b, 0.25f, out);
    ASSERT_EQ(out.numSamples(), 6u);
    EXPECT_FLOAT_EQ(out[2], 0.75f * 2 + 0.25f * 12);
    frameSubtract(a, b);
    EXPECT_EQ(a[5], 10.0f);
    EXPECT_EQ(a[6], 16.0f);  // beyond b untouched
    frameMix(a, b, 1.0f, a);  // in place
    EXPECT_EQ(a.numSamples(), 6u);
    EXPECT_EQ(a[0], 10.0f);
}
