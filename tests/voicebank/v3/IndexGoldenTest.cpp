// Index bytes typed from the file layout, read by the package and compared
// with what the test-side writer makes of the same content.
#include <gtest/gtest.h>

#include "support/bank/PackageOnDisk.h"
#include "support/bank/HexBytes.h"
#include "voicebank/v3/SourceStorePackager.h"

namespace {

using testbank::hexBytes;

// hop 256, rate 44100, nine zeros.
const std::string kHeaderHex =
    "00 01 00 00  00 44 2C 47  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ";
// "", "", "CHN" with one-byte lengths.
const std::string kStringsHex = "00  00  03 43 48 4E ";
// "C4/C4/C4", then 1000, 850, 1250.
const std::string kGroupsHex = "08 43 34 2F 43 34 2F 43 34  E8 03 00 00  52 03 00 00  E2 04 00 00 ";
// Kind 0, name "a" stored as C5 (97 + 100), pitch "C4" stored as A7 99
// (67 + 100, 52 + 101), offset 0, part 2.
const std::string kRecordHex =
    "17 00 00 00  00 00 00 00  01 00 00 00 C5  02 00 00 00 A7 99  00 00 00 00  02 00 00 00";

testbank::BankDescription goldenBank(bool ext2)
{
    testbank::BankDescription bank;
    bank.ext2 = ext2;
    bank.header = testbank::BankHeader{.hopSize = 256, .sampleRate = 44100.0f, .maxHarmonicFreq = 0.0f,
                                       .phaseSetting = 0, .powerAmount = 0.0f, .powerCentre = 0.0f,
                                       .powerWidth = 0.0f};
    return bank;
}

TEST(IndexGolden, AnExt2RecordIndexesItsUnitInItsPart)
{
    const std::string golden = hexBytes("65 78 74 32 " + kHeaderHex + kStringsHex + kGroupsHex + kRecordHex);
    testbank::BankDescription bank = goldenBank(true);
    bank.variants.push_back({"a", "C4", 2, ""});
    EXPECT_EQ(testbank::writePackage(bank).index, golden);

    testbank::PackageOnDisk<HalvorenEngineV3::SourceStorePackager> disk("golden_ext2");
    const auto& package = disk.openIndex(golden);
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_TRUE(package.hasExt2());
    EXPECT_FALSE(package.hasExt1());
    EXPECT_EQ(package.index().strings[2], "CHN");
    ASSERT_EQ(package.index().timbreTable.size(), 1u);
    EXPECT_EQ(package.index().timbreTable[0].high, "C4");
    const auto& entry = package.index().unitIndex.at("a");
    ASSERT_EQ(entry.count(), 1);
    EXPECT_EQ(entry.variants[0].note, 24);  // C4 = 24
    EXPECT_EQ(entry.variants[0].offset, 0);
    EXPECT_EQ(entry.variants[0].part, 2);
}

TEST(IndexGolden, AnIndexStartingWithTheHeaderHasNoExt2)
{
    // Without "ext2" the record carries no part: 19 bytes.
    const std::string golden =
        hexBytes(kHeaderHex + kStringsHex + "13 00 00 00  00 00 00 00  01 00 00 00 C5  02 00 00 00 A7 99  00 00 00 00");
    testbank::BankDescription bank = goldenBank(false);
    bank.variants.push_back({"a", "C4", 0, ""});
    EXPECT_EQ(testbank::writePackage(bank).index, golden);

    testbank::PackageOnDisk<HalvorenEngineV3::SourceStorePackager> disk("golden_plain");
    const auto& package = disk.openIndex(golden);
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_FALSE(package.hasExt2());
    EXPECT_EQ(package.header().hopSize, 256);
    EXPECT_EQ(package.header().sampleRate, 44100.0f);
    EXPECT_EQ(package.index().timbreTable.size(), 4u);
    const auto& entry = package.index().unitIndex.at("a");
    EXPECT_EQ(entry.count(), 1);
    EXPECT_EQ(entry.variants[0].part, 0);
}

TEST(IndexGolden, NamesAreRestoredByteByByte)
{
    struct Case {
        std::string stored;
        std::string plain;
    };
    const Case cases[] = {
        {hexBytes("05"), hexBytes("A1")},              // 5 - 100 = -95 = 161 mod 256
        {hexBytes("64"), hexBytes("00")},              // 100 - 100
        {hexBytes("64 65 66 67 68"), std::string(5, '\0')},  // 100..104 at positions 0..4
        {hexBytes("C5 C7 C9 CB CD C6"), "abcdeb"},     // position 5 subtracts 100 again
    };
    for (const Case& c : cases)
        EXPECT_EQ(Halvoren::unscrambleName(c.stored), c.plain) << c.plain;
}

}  // namespace
