#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "model/file/MemoryStream.h"

using HalvorenWin::CMemoryBuffer;
using HalvorenWin::CMemoryStream;

namespace {

CMemoryBuffer bufferOf(std::initializer_list<int> bytes) {
    CMemoryBuffer b;
    for (int v : bytes) b.data.push_back(static_cast<char>(v));
    return b;
}

std::string hex(const CMemoryBuffer& b) {
    std::string out;
    char two[4];
    for (char c : b.data) {
        std::snprintf(two, sizeof two, "%02X ", static_cast<unsigned char>(c));
        out += two;
    }
    return out;
}

}  // namespace

TEST(MemoryStream, WritesLittleEndianValuesStringsAndBlocks) {
    CMemoryBuffer buf;
    CMemoryStream s(buf);
    s.writeString("abc");
    EXPECT_EQ(hex(buf), "03 00 00 00 61 62 63 ");
    EXPECT_EQ(s.pos, 7u);

    CMemoryBuffer more;
    CMemoryStream m(more);
    m.writeString("");
    m.writeInt(-2);
    m.writeFloat(1.0f);
    m.writeByte(0xAB);
    m.writeString(nullptr);  // writes nothing at all
    CMemoryBuffer empty;
    m.writeBlock(empty);
    m.writeBlock(buf);
    EXPECT_EQ(hex(more), "00 00 00 00 FE FF FF FF 00 00 80 3F AB 00 00 00 00 "
                         "07 00 00 00 03 00 00 00 61 62 63 ");
}

TEST(MemoryBuffer, WriteAtOverwritesGrowsAppendsOrIgnores) {
    CMemoryBuffer b = bufferOf({1, 2, 3, 4});
    const char four[] = {9, 9, 9, 9};
    b.writeAt(four, 4, 2);
    EXPECT_EQ(hex(b), "01 02 09 09 09 09 ");
    b.writeAt(four, 1, 6);  // at the size: appends
    EXPECT_EQ(b.size(), 7u);
    b.writeAt(four, 4, 8);  // beyond the size: nothing
    b.writeAt(nullptr, 4, 0);
    b.writeAt(four, 0, 0);
    EXPECT_EQ(hex(b), "01 02 09 09 09 09 09 ");
    b.clear();
    EXPECT_EQ(b.size(), 0u);
    EXPECT_EQ(b.data.capacity(), 0u);
}

TEST(MemoryStream, ReadsPastTheEndKeepTargetsAndCursor) {
    CMemoryBuffer b = bufferOf({1, 2, 3});
    CMemoryStream s(b);
    int32_t v = 77;
    EXPECT_FALSE(s.readInt(v));
    EXPECT_EQ(v, 77);
    EXPECT_EQ(s.pos, 0u);
    uint8_t byte = 0;
    EXPECT_TRUE(s.readByte(byte));
    EXPECT_EQ(byte, 1);
    EXPECT_FALSE(s.readBytes(nullptr, 1));
    EXPECT_EQ(s.pos, 1u);
}

TEST(MemoryStream, StringsCutShortNegativeOrWithNul) {
    CMemoryBuffer cut = bufferOf({5, 0, 0, 0, 'x', 'y', 'z'});
    CMemoryStream s(cut);
    std::string text = "old";
    s.readString(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(s.pos, 4u);

    CMemoryBuffer negative = bufferOf({0xFF, 0xFF, 0xFF, 0xFF, 'a'});
    CMemoryStream n(negative);
    text = "kept";
    n.readString(text);
    EXPECT_EQ(text, "kept");

    CMemoryBuffer nul = bufferOf({3, 0, 0, 0, 'a', 0, 'b', 7, 0, 0, 0});
    CMemoryStream z(nul);
    z.readString(text);
    EXPECT_EQ(text, "a");
    int32_t after = 0;
    EXPECT_TRUE(z.readInt(after));
    EXPECT_EQ(after, 7);

    CMemoryBuffer noCount = bufferOf({1, 0});
    CMemoryStream c(noCount);
    text = "x";
    c.readString(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(c.pos, 0u);
}

TEST(MemoryStream, BlocksAppendWholeZeroFilledOrNothing) {
    CMemoryBuffer whole = bufferOf({2, 0, 0, 0, 'p', 'q', 'r'});
    CMemoryStream w(whole);
    CMemoryBuffer target = bufferOf({'A'});
    w.readBlock(target);
    EXPECT_EQ(hex(target), "41 70 71 ");
    EXPECT_EQ(w.pos, 6u);

    CMemoryBuffer zero = bufferOf({0, 0, 0, 0});
    CMemoryStream z(zero);
    CMemoryBuffer none;
    z.readBlock(none);
    EXPECT_EQ(none.size(), 0u);
    EXPECT_EQ(z.pos, 4u);

    // A block announcing 2 GiB over three bytes: zeros in place of what is
    // there, and no allocation of the announced size.
    CMemoryBuffer huge = bufferOf({0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b', 'c'});
    CMemoryStream h(huge);
    CMemoryBuffer cut;
    h.readBlock(cut);
    EXPECT_EQ(hex(cut), "00 00 00 ");
    EXPECT_EQ(h.pos, 4u);
}

TEST(MemoryStream, TagsAreConsumedOnlyWhenNext) {
    CMemoryBuffer b = bufferOf({'e', 'x', 't', '1', 'e', 'x', 't'});
    CMemoryStream s(b);
    EXPECT_FALSE(s.readTag("ext2"));
    EXPECT_TRUE(s.readTag("ext1"));
    EXPECT_FALSE(s.readTag("ext2"));  // only three bytes remain
    EXPECT_EQ(s.pos, 4u);
}

TEST(MemoryBuffer, FileRoundTripAndDamagedCounts) {
    const std::string path = "/tmp/hv_membuf_" + std::to_string(getpid());
    CMemoryBuffer out = bufferOf({1, 2, 3, 4, 5});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(out.writeToFile(f));
    std::fclose(f);

    CMemoryBuffer in = bufferOf({9, 9, 9, 9, 9, 9, 9, 9});
    f = std::fopen(path.c_str(), "rb");
    in.readFromFile(f);
    std::fclose(f);
    EXPECT_EQ(hex(in), "01 02 03 04 05 ");

    auto readRaw = [&](std::initializer_list<int> fileBytes) {
        std::FILE* w = std::fopen(path.c_str(), "wb");
        for (int v : fileBytes) std::fputc(v, w);
        std::fclose(w);
        CMemoryBuffer b = bufferOf({7});
        std::FILE* r = std::fopen(path.c_str(), "rb");
        b.readFromFile(r);
        std::fclose(r);
        return hex(b);
    };
    EXPECT_EQ(readRaw({0, 0, 0, 0, 1}), "07 ");              // count 0: unchanged
    EXPECT_EQ(readRaw({0xFF, 0xFF, 0xFF, 0xFF, 1}), "07 ");  // negative count
    EXPECT_EQ(readRaw({2, 0}), "07 ");                       // count cut off
    // A count of 2 GiB over two bytes yields the two bytes the file has.
    EXPECT_EQ(readRaw({0xFF, 0xFF, 0xFF, 0x7F, 8, 9}), "08 09 ");
    std::remove(path.c_str());
}
