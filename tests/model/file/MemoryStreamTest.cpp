#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "model/file/MemoryStream.h"

using HalvorenWin::CMemoryBuffer;
using HalvorenWin::CMemoryStream;
using namespace std::string_literals;

namespace {

CMemoryBuffer bufferOf(const std::string& bytes)
{
    CMemoryBuffer b;
    b.data.assign(bytes.begin(), bytes.end());
    return b;
}

std::string bytesOf(const CMemoryBuffer& b) { return {b.data.begin(), b.data.end()}; }

}  // namespace

TEST(MemoryStream, WritesLittleEndianValuesStringsAndBlocks)
{
    CMemoryBuffer abc, more;
    CMemoryStream s(abc), m(more);
    s.writeString("abc");
    EXPECT_EQ(s.pos, 7u);
    m.writeString("");
    m.writeInt(-2);
    m.writeFloat(1.0f);
    m.writeByte(0xAB);
    m.writeString(nullptr);  // writes nothing at all
    m.writeBlock(abc);
    EXPECT_EQ(bytesOf(more), "\0\0\0\0\xFE\xFF\xFF\xFF\0\0\x80\x3F\xAB\7\0\0\0\3\0\0\0abc"s);

    CMemoryBuffer b = bufferOf("\1\2\3\4");
    b.writeAt("\x9\x9\x9\x9", 4, 2);  // overwrites and grows
    b.writeAt("\x9", 1, 8);          // beyond the size: nothing
    EXPECT_EQ(bytesOf(b), "\1\2\x9\x9\x9\x9"s);
}

TEST(MemoryStream, ReadsPastTheEndKeepTargetsAndCursor)
{
    CMemoryBuffer b = bufferOf("ext1ext");
    CMemoryStream s(b);
    EXPECT_FALSE(s.readTag("ext2"));
    EXPECT_TRUE(s.readTag("ext1"));
    int32_t v = 77;
    EXPECT_FALSE(s.readTag("ext2") || s.readInt(v));  // three bytes left
    EXPECT_EQ(v, 77);
    EXPECT_EQ(s.pos, 4u);

    std::string text = "old";
    CMemoryBuffer cut = bufferOf("\5\0\0\0xyz"s), negative = bufferOf("\xFF\xFF\xFF\xFF" "a");
    CMemoryStream c(cut), n(negative);
    c.readString(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(c.pos, 4u);
    text = "kept";
    n.readString(text);
    EXPECT_EQ(text, "kept");
}

TEST(MemoryStream, BlocksCutShortGiveZerosOrNothingWithoutTheirDeclaredSize)
{
    // 2 GiB announced over three bytes: zeros in place of what is there.
    CMemoryBuffer huge = bufferOf("\xFF\xFF\xFF\x7F" "abc"), cut;
    CMemoryStream h(huge);
    h.readBlock(cut);
    EXPECT_EQ(bytesOf(cut), "\0\0\0"s);
    EXPECT_EQ(h.pos, 4u);

    CMemoryBuffer nested = bufferOf("\4\0\0\0\1\0\0\0\x9\x9\0\0\0\x10z"s);
    CMemoryStream outer(nested);
    CMemoryStream inner = outer.readSubBlock();
    int32_t v = 0;
    uint8_t byte = 0;
    EXPECT_TRUE(inner.readInt(v) && v == 1);
    EXPECT_FALSE(inner.readByte(byte));  // bounded to the block
    EXPECT_EQ(outer.pos, 8u);
    outer.pos = 9;
    EXPECT_EQ(outer.readSubBlock().remaining(), 0u);
    EXPECT_EQ(outer.pos, 13u);
}

TEST(MemoryBuffer, FileCountsAreTrustedOnlyAsFarAsTheFileGoes)
{
    const std::string path = "/tmp/hv_membuf_" + std::to_string(getpid());
    auto readBack = [&](const std::string& fileBytes) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(fileBytes.data(), 1, fileBytes.size(), f);
        std::fclose(f);
        CMemoryBuffer b = bufferOf("\7");
        f = std::fopen(path.c_str(), "rb");
        b.readFromFile(f);
        std::fclose(f);
        return bytesOf(b);
    };
    EXPECT_EQ(readBack("\0\0\0\0\1"s), "\7");                // count 0: unchanged
    EXPECT_EQ(readBack("\xFF\xFF\xFF\xFF\1"), "\7");          // negative count
    EXPECT_EQ(readBack("\2\0"s), "\7");                       // count cut off
    EXPECT_EQ(readBack("\xFF\xFF\xFF\x7F\x8\x9"), "\x8\x9");  // 2 GiB over two bytes
    std::remove(path.c_str());
}
