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

// A length past the end of the file, or past the room the caller gives,
// reads nothing and allocates nothing; a file that cannot tell its size (a
// pipe) gives nothing.
TEST(PackageRecord, DamagedLengthsReadNothing) {
    struct Case {
        const char* what;
        std::string bytes;
        std::uint64_t room;
        std::int32_t length;
    };
    const Case cases[] = {
        {"one past the end", ByteBuilder().i32(4).raw("abc").bytes, UINT64_MAX, 4},
        {"far past the end", ByteBuilder().i32(0x7FFFFFF0).raw(std::string(100, 'x')).bytes, UINT64_MAX, 0x7FFFFFF0},
        {"one past the room", ByteBuilder().i32(3).raw("abc").bytes, 2, 3},
    };
    for (const Case& c : cases) {
        MemoryFile file(c.bytes);
        CMemoryBuffer buffer;
        buffer.bytes().putSamples("kept", 4);
        std::int32_t length = 0;
        EXPECT_FALSE(readRecord(file.file.get(), buffer, c.room, &length)) << c.what;
        EXPECT_EQ(length, c.length) << c.what;
        EXPECT_EQ(contents(buffer), "kept") << c.what;
        EXPECT_LE(buffer.bytes().getSizeInBytes(), 4096u) << c.what;
    }
    // Exactly the room and the file: read whole.
    MemoryFile exact(ByteBuilder().i32(3).raw("abc").bytes);
    CMemoryBuffer whole;
    EXPECT_TRUE(readRecord(exact.file.get(), whole, 3));
    EXPECT_EQ(contents(whole), "abc");

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
