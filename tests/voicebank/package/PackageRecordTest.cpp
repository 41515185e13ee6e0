#include <gtest/gtest.h>

#include "support/ByteBuilder.h"
#include "tools/bankwriter/NameScramble.h"

using hvtest::ByteBuilder;

namespace {

TEST(BankWriter, BytesMatchThePackageEncoding) {
    EXPECT_EQ(ByteBuilder().i32(-2).h8("c").bytes, std::string("\xFE\xFF\xFF\xFF\x01" "c", 6));
    // Stored byte = plain + 100 + i % 5 (mod 256): stored 5 at position 0 is plain 161.
    EXPECT_EQ(bankwriter::scrambleName("\xA1" "aaaaa"), "\x05\xC6\xC7\xC8\xC9\xC5");
}

}  // namespace
