#include <gtest/gtest.h>

#include <climits>

#include "support/bank/LeWriter.h"
#include "dsp/CMemoryStream.h"

using Halvoren::CMemoryBuffer;
using Halvoren::CMemoryStream;
using testbank::LeWriter;

namespace {

struct MemoryStream : ::testing::Test {
    CMemoryBuffer buffer;
    void fill(const LeWriter& bytes) {
        buffer.bytes().clear();
        buffer.bytes().putSamples(bytes.str().data(), static_cast<unsigned>(bytes.size()));
    }
};

TEST_F(MemoryStream, ValuesAreLittleEndianAndReadsPastTheEndTakeNothing) {
    fill(LeWriter().bytes(std::string("\x01\x02\x03\x04\x00\x00\x80\x3F", 8)).bytes("xy"));
    CMemoryStream stream(&buffer);
    std::int32_t i = 77;
    float f = 0.0f;
    ASSERT_TRUE(stream.readInt32(i) && stream.readFloat(f));
    EXPECT_EQ(i, 0x04030201);
    EXPECT_EQ(f, 1.0f);

    i = 77;
    EXPECT_FALSE(stream.readInt32(i));  // two bytes left
    EXPECT_EQ(stream.getPosition(), 8);
    char two[2] = {0, 0};
    EXPECT_FALSE(stream.read(nullptr, 2) || stream.read(two, -1));
    EXPECT_TRUE(stream.read(two, 2));
    // Positions outside the buffer, including one where position + size wraps.
    for (std::int32_t position : {INT32_MAX - 2, -4, 10}) {
        EXPECT_FALSE(CMemoryStream(&buffer, position).readInt32(i)) << position;
    }
    EXPECT_EQ(i, 77);
}

TEST_F(MemoryStream, StringsFollowTheirLengthField) {
    // Cut at the zero byte, the position still moving past all five bytes;
    // a negative length consumes just its four bytes.
    fill(LeWriter().rstr(std::string("ab\0cd", 5)).rstr("").i32(-3).rstr("ok"));
    CMemoryStream stream(&buffer);
    EXPECT_EQ(stream.readString(), "ab");
    EXPECT_EQ(stream.getPosition(), 9);
    EXPECT_EQ(stream.readString() + stream.readString(), "");
    EXPECT_EQ(stream.getPosition(), 17);
    EXPECT_EQ(stream.readString(), "ok");

    for (std::int32_t length : {5, INT32_MAX}) {
        fill(LeWriter().i32(length).bytes("abc"));
        CMemoryStream shortOne(&buffer);
        EXPECT_EQ(shortOne.readString(), "") << length;
        EXPECT_EQ(shortOne.getPosition(), 4) << length;
        std::int32_t next = 77;  // three bytes are not an int32
        EXPECT_FALSE(shortOne.readInt32(next));
        EXPECT_EQ(next, 77);
    }
}

TEST_F(MemoryStream, FloatArraysAppendOnlyTheValuesPresent) {
    fill(LeWriter().floatArray({1.5f, -2.0f}).i32(4).f32(7.0f).f32(8.0f));
    CMemoryStream stream(&buffer);
    std::vector<float> out = {9.0f};
    stream.readFloatArray(out);
    stream.readFloatArray(out);  // announces 4, holds 2
    EXPECT_EQ(out, (std::vector<float>{9.0f, 1.5f, -2.0f, 7.0f, 8.0f}));

    for (std::int32_t count : {-1, INT32_MAX}) {
        fill(LeWriter().i32(count).f32(3.0f));
        std::vector<float> got;
        CMemoryStream(&buffer).readFloatArray(got);
        EXPECT_LE(got.size(), 1u) << count;
        EXPECT_LE(got.capacity(), 16u) << count;
    }
}

}  // namespace
