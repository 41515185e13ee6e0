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

// The writers are pinned by the project file golden bytes; these are the
// bounds of the readers.
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
    // 2 GiB announced over three bytes: zeros in place of what is there, and
    // a sub-block of nothing.
    CMemoryBuffer huge = bufferOf("\xFF\xFF\xFF\x7F" "abc"), cut;
    CMemoryStream h(huge);
    h.readBlock(cut);
    EXPECT_EQ(bytesOf(cut), "\0\0\0"s);
    EXPECT_EQ(h.pos, 4u);
    h.pos = 0;
    EXPECT_EQ(h.readSubBlock().remaining(), 0u);
    EXPECT_EQ(h.pos, 4u);
}

TEST(MemoryStream, AStreamStartingPastItsBufferReadsNothingAndStaysPut)
{
    CMemoryBuffer b = bufferOf("\0\0\0\0abcd"s);
    CMemoryStream s(b, 10, 20);
    uint32_t v = 5;
    EXPECT_FALSE(s.readUInt(v));
    EXPECT_EQ(s.readSubBlock().remaining(), 0u);
    EXPECT_EQ(v, 5u);
    EXPECT_EQ(s.pos, 10u);
}

TEST(MemoryStream, SubBlocksShareTheBudgetOneLevelDeeper)
{
    // A block of 8 bytes holding a block of 4: depth 1, then 2.
    CMemoryBuffer b = bufferOf("\x08\0\0\0\x04\0\0\0wxyz"s);
    ReadLimits limits;
    limits.maxDepth = 1;
    ReadBudget budget(b.size(), limits);
    CMemoryStream s(b);
    s.budget = &budget;
    CMemoryStream outer = s.readSubBlock();
    EXPECT_EQ(outer.remaining(), 8u);
    EXPECT_EQ(outer.budget, &budget);
    EXPECT_EQ(outer.readSubBlock().remaining(), 0u);  // depth 2 is refused
    EXPECT_EQ(outer.pos, 8u);                          // past the inner count
    EXPECT_TRUE(budget.spent());
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
