#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

#include "support/bank/LeWriter.h"
#include "support/bank/NameScramble.h"
#include "dsp/CMemoryStream.h"
#include "voicebank/package/PackageRecord.h"

using Halvoren::CMemoryBuffer;
using Halvoren::readRecord;
using testbank::LeWriter;

namespace {

std::string contents(const CMemoryBuffer& buffer) {
    return buffer.size() ? std::string(buffer.begin(), buffer.size()) : std::string();
}

// A stream that can only be read forward, as a pipe is: it cannot tell how
// many bytes it still holds.
class ForwardOnlyBuf : public std::streambuf {
public:
    explicit ForwardOnlyBuf(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }

private:
    std::string bytes_;
};

TEST(PackageRecord, RecordsAreReadInTurnAndShortLengthsKeepTheBuffer) {
    std::istringstream file(LeWriter().record("first").i32(0).i32(-7).record(LeWriter().i32(3).rstr("la")).str());
    CMemoryBuffer buffer;
    for (int i = 0; i < 3; ++i) readRecord(file, buffer);  // lengths 5, 0 and -7
    EXPECT_EQ(contents(buffer), "first");
    EXPECT_EQ(file.tellg(), std::streampos(4 + 5 + 4 + 4));

    readRecord(file, buffer);
    ASSERT_FALSE(file.eof());
    Halvoren::CMemoryStream stream(&buffer);
    std::int32_t value = 0;
    EXPECT_TRUE(stream.readInt32(value) && value == 3);
    EXPECT_EQ(stream.readString(), "la");
    readRecord(file, buffer);
    EXPECT_TRUE(file.eof());
}

// A length past the end reads only the bytes there are, and allocates no
// more, from files and from pipes alike; pipes still deliver long records whole.
TEST(PackageRecord, DamagedLengthsHoldOnlyTheBytesThatExist) {
    std::istringstream truncated(LeWriter().i32(10).bytes("abc").str());
    CMemoryBuffer buffer;
    readRecord(truncated, buffer);
    EXPECT_TRUE(truncated.eof());
    EXPECT_EQ(contents(buffer), "abc");

    const std::string huge = LeWriter().i32(0x7FFFFFF0).bytes(std::string(100, 'x')).str();
    std::istringstream seekable(huge);
    ForwardOnlyBuf pipeBuf(huge);
    std::istream pipe(&pipeBuf);
    for (std::istream* file : {static_cast<std::istream*>(&seekable), &pipe}) {
        CMemoryBuffer big;
        readRecord(*file, big);
        EXPECT_TRUE(file->eof());
        EXPECT_EQ(big.size(), 100u);
        EXPECT_LE(big.bytes().getSizeInBytes(), 65536u + 4096u);
    }

    std::string body(200000, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7);
    ForwardOnlyBuf longBuf(LeWriter().record(body).i32(1).str());
    std::istream longPipe(&longBuf);
    readRecord(longPipe, buffer);
    EXPECT_FALSE(longPipe.eof());
    EXPECT_EQ(contents(buffer), body);
}

TEST(BankWriter, BytesMatchThePackageEncoding) {
    EXPECT_EQ(LeWriter().i32(-2).h8("c").str(), std::string("\xFE\xFF\xFF\xFF\x01" "c", 6));
    // Stored byte = plain + 100 + i % 5 (mod 256): stored 5 at position 0 is plain 161.
    EXPECT_EQ(testbank::scrambleName("\xA1" "aaaaa"), "\x05\xC6\xC7\xC8\xC9\xC5");
}

}  // namespace
