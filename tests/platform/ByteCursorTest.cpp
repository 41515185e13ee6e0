#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AllocationCount.h"
#include "platform/ByteCursor.h"
#include "support/ByteBuilder.h"

using hvtest::ByteBuilder;

namespace {

// One read of the cursor: its name, the bytes it needs and, given those
// bytes, a check of what it read. The read runs on a copy of the target
// that starts as a sentinel, so a failed read must leave the sentinel.
struct ReadCase {
    const char* name;
    std::string bytes;
    // Runs the read and prints its target into seen.
    std::function<bool(ByteCursor&, std::string& seen)> read;
    std::string expected;
};

std::vector<ReadCase> readCases()
{
    auto num = [](auto v) { return std::to_string(v); };
    return {
        {"u8", "\xF0", [=](ByteCursor& c, std::string& s) { std::uint8_t v = 7; bool ok = c.u8(v); s = num(v); return ok; }, "240"},
        // 0x1234 = 4660
        {"u16", "\x34\x12", [=](ByteCursor& c, std::string& s) { std::uint16_t v = 7; bool ok = c.u16(v); s = num(v); return ok; }, "4660"},
        // 0x80000001 = 2147483649
        {"u32", std::string("\x01\x00\x00\x80", 4), [=](ByteCursor& c, std::string& s) { std::uint32_t v = 7; bool ok = c.u32(v); s = num(v); return ok; }, "2147483649"},
        {"i32", "\xFE\xFF\xFF\xFF", [=](ByteCursor& c, std::string& s) { std::int32_t v = 7; bool ok = c.i32(v); s = num(v); return ok; }, "-2"},
        // 0x3FC00000 is 1.5f
        {"f32", std::string("\x00\x00\xC0\x3F", 4), [=](ByteCursor& c, std::string& s) { float v = 7; bool ok = c.f32(v); s = num(v); return ok; }, "1.500000"},
        {"tag", "RIFF", [](ByteCursor& c, std::string& s) { bool ok = c.tag("RIFF", 4); s = ok ? "RIFF" : "7"; return ok; }, "RIFF"},
        {"bytes", "abc", [](ByteCursor& c, std::string& s) { char v[4] = "777"; bool ok = c.bytes(v, 3); s = v; return ok; }, "abc"},
        {"text cut at NUL", std::string("ab\0d", 4), [](ByteCursor& c, std::string& s) { s = "7"; return c.text(4, s); }, "ab"},
        {"floats", std::string("\x00\x00\xC0\x3F\x00\x00\x00\xC0", 8),
         [=](ByteCursor& c, std::string& s) {
             std::vector<float> v{7.0f};
             bool ok = c.floats(2, v);
             for (float f : v) s += num(f) + " ";
             return ok;
         },
         "7.000000 1.500000 -2.000000 "},  // 0xC0000000 is -2.0f
        {"sub", "xyz", [](ByteCursor& c, std::string& s) {
             ByteCursor sub;
             bool ok = c.sub(3, sub);
             s = "7";
             if (ok) sub.text(sub.remaining(), s);
             return ok;
         },
         "xyz"},
        {"skip", "abc", [](ByteCursor& c, std::string& s) { bool ok = c.skip(3); s = ok ? "skipped" : "7"; return ok; }, "skipped"},
    };
}

}  // namespace

TEST(ByteCursor, EveryReadFailsWithoutMovingAtEveryTruncationPoint)
{
    for (const ReadCase& rc : readCases()) {
        // Two bytes of something else first, so the read starts inside the
        // buffer rather than at its start.
        const std::string whole = "--" + rc.bytes;
        for (size_t cut = 2; cut <= whole.size(); ++cut) {
            ByteCursor c(whole.data(), cut);
            ASSERT_TRUE(c.skip(2));
            std::string seen;
            const bool ok = rc.read(c, seen);
            const bool complete = cut == whole.size();
            EXPECT_EQ(ok, complete) << rc.name << " cut at " << cut;
            EXPECT_EQ(c.position(), complete ? whole.size() : 2u) << rc.name << " cut at " << cut;
            if (complete)
                EXPECT_EQ(seen, rc.expected) << rc.name;
            else
                EXPECT_TRUE(seen == "7" || seen == "7.000000" || seen == "7.000000 " || seen == "777")
                    << rc.name << " cut at " << cut << " changed its target to " << seen;
        }
    }
}

TEST(ByteCursor, HugeLengthsOverEightBytesAllocateNothing)
{
    // A 32-bit length of 2^31-1 and of -1 (read unsigned: 4294967295), then
    // four bytes: nothing may be allocated for what is not there.
    for (std::uint32_t length : {0x7FFFFFFFu, 0xFFFFFFFFu}) {
        const std::string bytes = ByteBuilder().u32(length).raw("abcd").bytes;
        ByteCursor c(bytes.data(), bytes.size());
        std::uint32_t n = 0;
        ASSERT_TRUE(c.u32(n));
        std::string text = "kept";
        std::vector<float> values;
        ByteCursor sub;
        const size_t before = hvtest::bytesAllocated();
        EXPECT_FALSE(c.text(n, text)) << length;
        EXPECT_FALSE(c.floats(n, values)) << length;
        EXPECT_FALSE(c.sub(n, sub)) << length;
        EXPECT_FALSE(c.skip(n)) << length;
        EXPECT_FALSE(c.holds(n, 1)) << length;
        EXPECT_EQ(hvtest::bytesAllocated(), before) << length;
        EXPECT_EQ(text, "kept");
        EXPECT_EQ(values.capacity(), 0u);
        EXPECT_EQ(c.position(), 4u);
        EXPECT_EQ(c.remaining(), 4u);
        // The counter does see an allocation: room for the one float there.
        EXPECT_TRUE(c.floats(1, values));
        EXPECT_EQ(hvtest::bytesAllocated(), before + sizeof(float));
    }
}

TEST(ByteCursor, SubCursorKeepsAnInnerCountInsideItsSlice)
{
    // A block of 8 bytes whose count claims 1000 floats, then 8 more bytes
    // after it: the inner reads see only the 4 bytes left in the block.
    const std::string bytes =
        ByteBuilder().u32(8).u32(1000).f32(2.0f).raw("tail").f32(3.0f).bytes;
    ByteCursor outer(bytes.data(), bytes.size());
    std::uint32_t blockLength = 0;
    ByteCursor block;
    ASSERT_TRUE(outer.u32(blockLength));
    ASSERT_TRUE(outer.sub(blockLength, block));
    EXPECT_EQ(outer.position(), 12u);  // 4 + 8

    std::uint32_t count = 0;
    ASSERT_TRUE(block.u32(count));
    EXPECT_EQ(count, 1000u);
    std::vector<float> values;
    std::string text;
    const size_t before = hvtest::bytesAllocated();
    EXPECT_FALSE(block.holds(count, 4));
    EXPECT_FALSE(block.floats(count, values));
    EXPECT_FALSE(block.text(8, text));  // the outer cursor still has 8 bytes
    EXPECT_EQ(hvtest::bytesAllocated(), before);
    EXPECT_TRUE(block.floats(1, values));
    EXPECT_EQ(values, std::vector<float>{2.0f});
    EXPECT_TRUE(block.atEnd());

    EXPECT_TRUE(outer.text(4, text));
    EXPECT_EQ(text, "tail");
}

TEST(ByteCursor, EmptyAndNullBytesReadNothing)
{
    ByteCursor none(nullptr, 100);
    std::uint8_t v = 9;
    EXPECT_EQ(none.size(), 0u);
    EXPECT_FALSE(none.u8(v));
    EXPECT_EQ(v, 9);
    ByteCursor sub;
    EXPECT_TRUE(none.sub(0, sub));
    EXPECT_TRUE(sub.atEnd());
    EXPECT_FALSE(none.seek(1));
    EXPECT_TRUE(none.seek(0));
}
