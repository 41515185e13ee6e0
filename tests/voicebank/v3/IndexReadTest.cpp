#include <gtest/gtest.h>

#include "support/ByteBuilder.h"
#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/NameScramble.h"
#include "voicebank/v3/SourceStorePackager.h"

namespace {

using HalvorenEngineV3::SourceStorePackager;
using Halvoren::TimbreEntry;

std::string describe(const std::vector<TimbreEntry>& table)
{
    std::string out;
    for (const TimbreEntry& e : table)
        out += "(" + e.low + "," + e.middle + "," + e.high + ")";
    return out;
}

// A kind-0 index record as stored.
hvtest::ByteBuilder variantRecord(const std::string& unit, const std::string& pitch, std::int32_t offset)
{
    hvtest::ByteBuilder r;
    r.i32(0).str(testbank::scrambleName(unit)).str(testbank::scrambleName(pitch)).i32(offset);
    return r;
}

TEST(IndexRead, WithoutExt2TheBuiltInTimbresAndTimesApply)
{
    testbank::PackageOnDisk<SourceStorePackager> disk("idx_default");
    const SourceStorePackager& p = disk.open(testbank::writePackage(testbank::BankDescription{}));
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_EQ(describe(p.index().timbreTable), "(G3,B3,B3)(C4,E4,E4)(F4,A4,A4)(Bb4,C5,C5)");
    EXPECT_EQ(p.index().timbreTimes[0], 1000);
    EXPECT_EQ(p.index().timbreTimes[1], 850);
    EXPECT_EQ(p.index().timbreTimes[2], 1250);
    EXPECT_EQ(p.index().strings[2], "CHN");
    EXPECT_EQ(p.header().powerCentre, 3000.0f);
}

TEST(IndexRead, PitchGroupListsCutIntoTriples)
{
    struct Case {
        std::string list;
        std::string table;
    };
    const Case cases[] = {
        {"C4/D4/E4/F4", "(C4,D4,E4)"},  // the fourth name is dropped
        {"", ""},
        {"C4//E4", "(C4,,E4)"},
        {"C4/D4", ""},
        {"G3/B3/B3/C4/E4/E4/F4/A4/A4/Bb4/C5/C5", "(G3,B3,B3)(C4,E4,E4)(F4,A4,A4)(Bb4,C5,C5)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describe(Halvoren::buildTimbreTable(c.list)), c.table) << c.list;
        // The same list from an index's "ext2" block, with its times.
        testbank::BankDescription bank;
        bank.ext2 = true;
        bank.groupList = c.list;
        bank.times = {900, 800, 1100};
        testbank::PackageOnDisk<SourceStorePackager> disk("idx_groups");
        const SourceStorePackager& p = disk.open(testbank::writePackage(bank));
        EXPECT_EQ(describe(p.index().timbreTable), c.table) << c.list;
        EXPECT_EQ(p.index().timbreTimes[1], 800);
    }
}

TEST(IndexRead, NameOnlyEntriesKeepTheFirstAndOtherKindsAreSkipped)
{
    for (const bool ext2 : {false, true}) {
        testbank::BankDescription bank;
        bank.ext2 = ext2;
        bank.names = {{"ka", 10}, {"ka", 20}, {"ba", 30}};
        std::string index = testbank::writePackage(bank).index;
        // A record of kind 2 shaped like a variant indexes nothing.
        hvtest::ByteBuilder other;
        other.i32(2).str(testbank::scrambleName("la")).str(testbank::scrambleName("C4")).i32(0).i32(0);
        index += hvtest::ByteBuilder().block(other).bytes;
        testbank::PackageOnDisk<SourceStorePackager> disk("idx_kind1");
        const SourceStorePackager& p = disk.openIndex(index);
        EXPECT_EQ(disk.log.str(), "") << ext2;
        EXPECT_EQ(p.index().nameIndex.size(), 2u) << ext2;
        EXPECT_EQ(p.index().nameIndex.at("ka"), 10) << ext2;
        EXPECT_EQ(p.index().nameIndex.at("ba"), 30) << ext2;
        EXPECT_TRUE(p.index().unitIndex.empty()) << ext2;
    }
    // Under "ext2" a name-only entry ends with an extra int32; one that lacks
    // it is short and skipped.
    testbank::BankDescription bank;
    bank.ext2 = true;
    std::string index = testbank::writePackage(bank).index;
    hvtest::ByteBuilder shortName;
    shortName.i32(1).str(testbank::scrambleName("ka")).i32(10);
    index += hvtest::ByteBuilder().block(shortName).bytes;
    testbank::PackageOnDisk<SourceStorePackager> disk("idx_kind1_short");
    EXPECT_TRUE(disk.openIndex(index).index().nameIndex.empty());
}

TEST(IndexRead, AUnitKeepsAtMostThirtyTwoVariants)
{
    testbank::BankDescription bank;
    for (int i = 0; i < 33; ++i)
        bank.variants.push_back({"la", "C4", 0, hvtest::ByteBuilder().i32(i).bytes});
    testbank::PackageOnDisk<SourceStorePackager> disk("idx_33");
    const SourceStorePackager& p = disk.open(testbank::writePackage(bank));
    const auto& entry = p.index().unitIndex.at("la");
    EXPECT_EQ(entry.count(), 32);
    EXPECT_EQ(entry.variants[31].offset, 31 * 8);  // each framed record is 4 + 4 bytes
    EXPECT_EQ(disk.log.str(), "");
}

TEST(IndexRead, AZeroLengthRecordBetweenTwoIndexesNothing)
{
    std::string index = testbank::writePackage(testbank::BankDescription{}).index;
    index += hvtest::ByteBuilder().block(variantRecord("la", "C4", 0)).i32(0).i32(-5)
                 .block(variantRecord("la", "E4", 40)).bytes;
    testbank::PackageOnDisk<SourceStorePackager> disk("idx_zero");
    const SourceStorePackager& p = disk.openIndex(index);
    const auto& entry = p.index().unitIndex.at("la");
    ASSERT_EQ(entry.count(), 2);
    EXPECT_EQ(entry.variants[0].note, 24);  // C4
    EXPECT_EQ(entry.variants[1].note, 28);  // E4
    EXPECT_EQ(entry.variants[1].offset, 40);
    EXPECT_EQ(disk.log.str(), "");
}

}  // namespace
