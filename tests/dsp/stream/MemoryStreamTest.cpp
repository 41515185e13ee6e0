#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <memory>

#include "support/ByteBuilder.h"
#include "dsp/CMemoryStream.h"

using Halvoren::CMemoryBuffer;
using Halvoren::CMemoryStream;
using hvtest::ByteBuilder;

namespace {

struct MemoryStream : ::testing::Test {
    CMemoryBuffer buffer;
    void fill(const ByteBuilder& bytes) {
        buffer.bytes().clear();
        buffer.bytes().putSamples(bytes.bytes.data(), static_cast<unsigned>(bytes.size()));
    }
};

TEST_F(MemoryStream, ValuesAreLittleEndianAndReadsPastTheEndTakeNothing) {
    fill(ByteBuilder().raw(std::string("\x01\x02\x03\x04\x00\x00\x80\x3F", 8)).raw("xy"));
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
    fill(ByteBuilder().str(std::string("ab\0cd", 5)).str("").i32(-3).str("ok"));
    CMemoryStream stream(&buffer);
    EXPECT_EQ(stream.readString(), "ab");
    EXPECT_EQ(stream.getPosition(), 9);
    EXPECT_EQ(stream.readString() + stream.readString(), "");
    EXPECT_EQ(stream.getPosition(), 17);
    EXPECT_EQ(stream.readString(), "ok");

    for (std::int32_t length : {5, INT32_MAX}) {
        fill(ByteBuilder().i32(length).raw("abc"));
        CMemoryStream shortOne(&buffer);
        EXPECT_EQ(shortOne.readString(), "") << length;
        EXPECT_EQ(shortOne.getPosition(), 4) << length;
        std::int32_t next = 77;  // three bytes are not an int32
        EXPECT_FALSE(shortOne.readInt32(next));
        EXPECT_EQ(next, 77);
    }
}

TEST_F(MemoryStream, FloatArraysAppendOnlyTheValuesPresent) {
    fill(ByteBuilder().floatArray({1.5f, -2.0f}).i32(4).f32(7.0f).f32(8.0f));
    CMemoryStream stream(&buffer);
    std::vector<float> out = {9.0f};
    stream.readFloatArray(out);
    stream.readFloatArray(out);  // announces 4, holds 2
    EXPECT_EQ(out, (std::vector<float>{9.0f, 1.5f, -2.0f, 7.0f, 8.0f}));

    for (std::int32_t count : {-1, INT32_MAX}) {
        fill(ByteBuilder().i32(count).f32(3.0f));
        std::vector<float> got;
        CMemoryStream(&buffer).readFloatArray(got);
        EXPECT_LE(got.size(), 1u) << count;
        EXPECT_LE(got.capacity(), 16u) << count;
    }
}

// What a reader of a whole record needs and the lenient reads hide: the
// first read past the end (where it would have ended) and the first float
// that is not finite. A stream over a record in a file reads what a stream
// over the same bytes in memory reads, and never the bytes past its size.
TEST_F(MemoryStream, ReadsPastTheEndAndValuesNotFiniteAreNoted) {
    using Read = std::function<void(CMemoryStream&)>;
    const Read int32 = [](CMemoryStream& s) { std::int32_t v = 0; s.readInt32(v); };
    const Read real = [](CMemoryStream& s) { float v = 0.0f; s.readFloat(v); };
    const Read array = [](CMemoryStream& s) { std::vector<float> v; s.readFloatArray(v); };
    const Read text = [](CMemoryStream& s) { s.readString(); };
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<Read> reads;
        std::int64_t neededEnd;
        std::int32_t nonFiniteAt;
        std::int32_t endsAt;
    };
    const Case cases[] = {
        {"whole", ByteBuilder().i32(1).f32(2.0f).floatArray({3.0f}).str("ab").bytes, {int32, real, array, text}, 0, -1,
         22},
        {"an int32 over two bytes", ByteBuilder().i32(1).u16(2).bytes, {int32, int32}, 8, -1, 4},
        // After the count: 2 of 3 floats are there, so 4 + 12 bytes were asked for.
        {"a float array short of its count", ByteBuilder().i32(3).f32(1.0f).f32(2.0f).bytes, {array}, 16, -1, 12},
        {"a string short of its length", ByteBuilder().i32(9).raw("abc").bytes, {text, int32}, 13, -1, 4},
        {"NaN, then infinity", ByteBuilder().i32(1).u32(0x7FC00000).u32(0xFF800000).bytes, {int32, real, real}, 0, 4,
         12},
        {"infinity in an array", ByteBuilder().floatArray({1.0f, 0.0f}).u32(0x7F800000).bytes, {array, real}, 0, 12,
         16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(ByteBuilder().raw(c.bytes));
        CMemoryStream inMemory(&buffer);
        // The record in a file, followed by bytes that are not its own.
        std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), std::fclose);
        ASSERT_TRUE(file);
        const std::string stored = "LEAD" + c.bytes + std::string(64, '\x11');
        ASSERT_EQ(std::fwrite(stored.data(), 1, stored.size(), file.get()), stored.size());
        ASSERT_EQ(std::fseek(file.get(), 4, SEEK_SET), 0);
        CMemoryStream inFile(file.get(), std::int32_t(c.bytes.size()));
        for (CMemoryStream* stream : {&inMemory, &inFile}) {
            EXPECT_FALSE(stream->ranPastEnd());
            for (const Read& read : c.reads)
                read(*stream);
            EXPECT_EQ(stream->ranPastEnd(), c.neededEnd > 0);
            EXPECT_EQ(stream->neededEnd(), c.neededEnd);
            EXPECT_EQ(stream->nonFiniteAt(), c.nonFiniteAt);
            EXPECT_EQ(stream->getPosition(), c.endsAt);
        }
    }
}

}  // namespace
