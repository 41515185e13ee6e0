#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include "dsp/CMemoryStream.h"
#include "platform/FileUtil.h"
#include "support/ByteBuilder.h"
#include "tools/bankwriter/NameScramble.h"
#include "voicebank/package/PackageRecord.h"

using Halvoren::CMemoryBuffer;
using Halvoren::readRecord;
using hvtest::ByteBuilder;

namespace {

std::string contents(const CMemoryBuffer& buffer) {
    return buffer.size() ? std::string(buffer.begin(), buffer.size()) : std::string();
}

// The bytes as a seekable file in memory, closed with the object.
struct MemoryFile {
    explicit MemoryFile(std::string data) : bytes(std::move(data)), file(fmemopen(bytes.data(), bytes.size(), "rb")) {}
    std::string bytes;
    FilePtr file;
};

TEST(PackageRecord, RecordsAreReadInTurnAndShortLengthsKeepTheBuffer) {
    MemoryFile file(ByteBuilder().str("first").i32(0).i32(-7).block(ByteBuilder().i32(3).str("la")).bytes);
    CMemoryBuffer buffer;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(readRecord(file.file.get(), buffer));  // lengths 5, 0 and -7
    EXPECT_EQ(contents(buffer), "first");
    EXPECT_EQ(std::ftell(file.file.get()), 4 + 5 + 4 + 4);

    EXPECT_TRUE(readRecord(file.file.get(), buffer));
    Halvoren::CMemoryStream stream(&buffer);
    std::int32_t value = 0;
    EXPECT_TRUE(stream.readInt32(value) && value == 3);
    EXPECT_EQ(stream.readString(), "la");
    EXPECT_FALSE(readRecord(file.file.get(), buffer));
}

// A length past the end reads only the bytes there are, and allocates no
// more; a file that cannot tell its size (a pipe) gives nothing.
TEST(PackageRecord, DamagedLengthsHoldOnlyTheBytesThatExist) {
    MemoryFile truncated(ByteBuilder().i32(10).raw("abc").bytes);
    CMemoryBuffer buffer;
    EXPECT_FALSE(readRecord(truncated.file.get(), buffer));
    EXPECT_EQ(contents(buffer), "abc");

    MemoryFile huge(ByteBuilder().i32(0x7FFFFFF0).raw(std::string(100, 'x')).bytes);
    CMemoryBuffer big;
    EXPECT_FALSE(readRecord(huge.file.get(), big));
    EXPECT_EQ(big.size(), 100u);
    EXPECT_LE(big.bytes().getSizeInBytes(), 4096u);

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string piped = ByteBuilder().str("abc").bytes;
    ASSERT_EQ(::write(ends[1], piped.data(), piped.size()), ssize_t(piped.size()));
    ::close(ends[1]);
    FilePtr pipe(::fdopen(ends[0], "rb"));
    CMemoryBuffer fromPipe;
    EXPECT_FALSE(readRecord(pipe.get(), fromPipe));
    EXPECT_EQ(fromPipe.size(), 0u);
}

TEST(BankWriter, BytesMatchThePackageEncoding) {
    EXPECT_EQ(ByteBuilder().i32(-2).h8("c").bytes, std::string("\xFE\xFF\xFF\xFF\x01" "c", 6));
    // Stored byte = plain + 100 + i % 5 (mod 256): stored 5 at position 0 is plain 161.
    EXPECT_EQ(bankwriter::scrambleName("\xA1" "aaaaa"), "\x05\xC6\xC7\xC8\xC9\xC5");
}

}  // namespace
