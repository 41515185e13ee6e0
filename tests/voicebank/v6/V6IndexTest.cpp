#include <gtest/gtest.h>

#include <string>

#include "support/ByteBuilder.h"
#include "support/bank/HexBytes.h"
#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/BankWriterV6.h"
#include "voicebank/v6/SourceStorePackager.h"

namespace {

using HalvorenEngineV6::SourceStorePackager;
using Disk = testbank::PackageOnDisk<SourceStorePackager>;

// Format 6.<minor>; hop 256, 44100 Hz, the other header values 0; three
// empty strings; groups "C4/C4/C4"; times 1000, 850, 1250; tail 0.5, 1.0,
// 0.0, 60, [22050.0], 400; one variant "la" at "C4", offset 0, part 0.
std::string goldenIndex(const char* minor, const char* name, const char* pitch)
{
    return testbank::hexBytes(std::string("06 00 00 00 ") + minor +
                              " 00 01 00 00  00 44 2C 47"  // hop 256, rate 44100.0f
                              " 00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00"
                              " 00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00"
                              " 00 00 00 00  00 00 00 00  00 00 00 00"     // three empty strings
                              " 08 00 00 00  43 34 2F 43 34 2F 43 34"      // "C4/C4/C4"
                              " E8 03 00 00  52 03 00 00  E2 04 00 00"     // 1000, 850, 1250
                              " 00 00 00 3F  00 00 80 3F  00 00 00 00"     // 0.5, 1.0, 0.0
                              " 3C 00 00 00"                               // 60
                              " 01 00 00 00  00 44 AC 46"                  // [22050.0f]
                              " 90 01 00 00"                               // 400
                              " 18 00 00 00  00 00 00 00"                  // record of 24 bytes, kind 0
                              " 02 00 00 00 " + name + " 02 00 00 00 " + pitch +
                              " 00 00 00 00  00 00 00 00");               // offset 0, part 0
}

testbank::BankDescriptionV6 goldenBank(std::int32_t minor)
{
    testbank::BankDescriptionV6 bank;
    bank.formatMinor = minor;
    bank.header = testbank::BankHeader{256, 44100.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bank.strings = {"", "", ""};
    bank.tailFloats = {0.5f, 1.0f, 0.0f};
    bank.tailFloatList = {22050.0f};
    bank.variants = {{"la", "C4", 0, ""}};
    return bank;
}

TEST(V6Index, GoldenIndexesScrambleNamesOnlyInFormat60)
{
    // "la": 6C + 100 = D0, 61 + 101 = C6; "C4": 43 + 100 = A7, 34 + 101 = 99.
    const std::string v60 = goldenIndex("00 00 00 00", "D0 C6", "A7 99");
    const std::string v61 = goldenIndex("01 00 00 00", "6C 61", "43 34");
    EXPECT_EQ(testbank::writePackageV6(goldenBank(0)).index, v60);
    EXPECT_EQ(testbank::writePackageV6(goldenBank(1)).index, v61);

    Disk disk("v6_golden");
    for (const std::string* bytes : {&v60, &v61}) {
        const SourceStorePackager& p = disk.openIndex(*bytes);
        EXPECT_EQ(disk.log.str(), "");
        EXPECT_EQ(p.getFormatMajor(), 6);
        EXPECT_EQ(p.getHeader().hopSize, 256);
        EXPECT_EQ(p.getHeader().sampleRate, 44100.0f);
        ASSERT_EQ(p.getTimbreTable().size(), 1u);
        EXPECT_EQ(p.getTimbreTable()[0].high, "C4");
        EXPECT_EQ(p.getTimbreTimes()[1], 850);
        EXPECT_EQ(p.getTailFloats()[1], 1.0f);
        EXPECT_EQ(p.getTailInt1(), 60);
        EXPECT_EQ(p.getTailFloatList(), std::vector<float>{22050.0f});
        EXPECT_EQ(p.getTailInt2(), 400);
        EXPECT_TRUE(p.getHasExt1());
        ASSERT_EQ(p.getUnitIndex().size(), 1u);
        const auto& entry = p.getUnitIndex().at("la");
        EXPECT_EQ(entry.count(), 1);
        EXPECT_EQ(entry.variants[0].note, 24);  // C4: 2 octaves above C2
    }
}

TEST(V6Index, Format62SkipsOneInt32AfterTheVersionPair)
{
    Disk disk("v6_extra");
    testbank::BankDescriptionV6 bank;
    bank.formatMinor = 2;
    bank.formatExtra = 0x12345678;
    bank.variants = {{"la", "C4", 0, ""}};
    const std::string bytes = testbank::writePackageV6(bank).index;
    // 6.1 has no such value: the same bank at 6.1 is 4 bytes shorter.
    bank.formatMinor = 1;
    EXPECT_EQ(testbank::writePackageV6(bank).index.size() + 4, bytes.size());
    const SourceStorePackager& p = disk.openIndex(bytes);
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_EQ(p.getHeader().hopSize, 256);
    EXPECT_EQ(p.getHeader().powerWidth, 1000.0f);
    EXPECT_EQ(p.getUnitIndex().count("la"), 1u);
}

TEST(V6Index, IsFormatAbove)
{
    struct Case {
        std::int32_t major;
        std::int32_t minor;
        bool above0;
    };
    const Case cases[] = {{6, 1, true}, {6, 0, false}, {7, 0, true}, {5, 9, false}, {6, 2, true}};
    Disk disk("v6_above");
    for (const Case& c : cases) {
        testbank::BankDescriptionV6 bank;
        bank.formatMajor = c.major;
        bank.formatMinor = c.minor;
        bank.variants = {{"ka", "D4", 0, ""}};
        const SourceStorePackager& p = disk.openIndex(testbank::writePackageV6(bank).index);
        EXPECT_EQ(p.isFormatAbove(0), c.above0) << c.major << "." << c.minor;
        // The names come back whatever the format stored them as.
        EXPECT_EQ(p.getUnitIndex().count("ka"), 1u) << c.major << "." << c.minor;
        EXPECT_EQ(disk.log.str(), "") << c.major << "." << c.minor;
    }
}

TEST(V6Index, TailListCounts)
{
    Disk disk("v6_tail");
    for (std::int32_t count : {0, -5}) {
        testbank::BankDescriptionV6 bank;
        bank.tailFloatList = {};
        bank.tailInt2 = 400;
        bank.variants = {{"la", "C4", 0, ""}};
        std::string bytes = testbank::writePackageV6(bank).index;
        // The count field sits right before tailInt2 (4 bytes) and the one record (4 + 24).
        const std::size_t countAt = bytes.size() - 4 - 28 - 4;
        const std::string stored = hvtest::ByteBuilder().i32(count).bytes;
        bytes.replace(countAt, 4, stored);
        const SourceStorePackager& p = disk.openIndex(bytes);
        EXPECT_TRUE(p.getTailFloatList().empty()) << count;
        EXPECT_EQ(p.getTailInt2(), 400) << count;
        EXPECT_EQ(p.getUnitIndex().count("la"), 1u) << count;
        EXPECT_EQ(disk.log.str(), "") << count;
    }
    // A count whose floats are not in the file damages the index.
    testbank::BankDescriptionV6 bank;
    bank.tailFloatList = {};
    bank.variants = {{"la", "C4", 0, ""}};
    std::string bytes = testbank::writePackageV6(bank).index;
    bytes.replace(bytes.size() - 36, 4, hvtest::ByteBuilder().i32(1000).bytes);
    const SourceStorePackager& p = disk.openIndex(bytes);
    EXPECT_EQ(testbank::packageMessages(disk.log.str()), 1);
    EXPECT_TRUE(p.getTailFloatList().empty());
    EXPECT_EQ(p.getTailInt2(), 0);
    EXPECT_TRUE(p.getUnitIndex().empty());
    EXPECT_EQ(p.getHeader().hopSize, 256);
}

TEST(V6Index, KeepsOneHundredTwentyEightVariants)
{
    testbank::BankDescriptionV6 bank;
    // 127 variants at C2 (note 0), the 128th at B9 (note 95).
    for (int i = 0; i < 127; ++i)
        bank.variants.push_back({"la", "C2", 0, "r"});
    bank.variants.push_back({"la", "B9", 0, "last"});
    Disk disk("v6_128");
    {
        const SourceStorePackager& p = disk.open(testbank::writePackageV6(bank));
        EXPECT_EQ(p.getUnitIndex().at("la").count(), 128);
        std::int32_t offset = -1;
        std::int32_t part = -1;
        EXPECT_EQ(p.findRecordKey("la", "A9", offset, part), "B9");
        // Each framed record before it: 4 + 1 bytes.
        EXPECT_EQ(offset, 127 * 5);
        EXPECT_EQ(p.findRecordKey("la", "D2", offset, part), "C2");
    }
    // A 129th variant at A9 would be the exact match; it is dropped.
    bank.variants.push_back({"la", "A9", 0, "dropped"});
    const SourceStorePackager& p = disk.open(testbank::writePackageV6(bank));
    EXPECT_EQ(p.getUnitIndex().at("la").count(), 128);
    std::int32_t offset = -1;
    std::int32_t part = -1;
    EXPECT_EQ(p.findRecordKey("la", "A9", offset, part), "B9");
    EXPECT_EQ(disk.log.str(), "");
}

TEST(V6Index, SkipsOtherKindsAndSetsExt1)
{
    testbank::BankDescriptionV6 bank;
    bank.variants = {{"la", "C4", 0, ""}};
    // A kind-1 entry as the older generations store it: kind, name, offset.
    bank.otherRecords = {hvtest::ByteBuilder().i32(1).str("ka").i32(0).bytes,
                         hvtest::ByteBuilder().i32(2).str("ma").str("C4").i32(0).i32(0).bytes};
    Disk disk("v6_kinds");
    const SourceStorePackager& p = disk.open(testbank::writePackageV6(bank));
    EXPECT_EQ(p.getUnitIndex().size(), 1u);
    EXPECT_EQ(p.getUnitIndex().count("ka"), 0u);
    EXPECT_EQ(p.getUnitIndex().count("ma"), 0u);
    EXPECT_TRUE(p.getHasExt1());
    EXPECT_EQ(disk.log.str(), "");
}

TEST(V6Index, VariantPitchNamesAreCanonical)
{
    testbank::BankDescriptionV6 bank;
    bank.variants = {{"la", "C4", 0, ""}, {"la", "Bb4", 0, ""}};
    Disk disk("v6_names");
    const SourceStorePackager& p = disk.open(testbank::writePackageV6(bank));
    const auto& entry = p.getUnitIndex().at("la");
    EXPECT_EQ(SourceStorePackager::variantPitchName(entry, 0), "C4");
    EXPECT_EQ(SourceStorePackager::variantPitchName(entry, 1), "A#4");
    EXPECT_EQ(SourceStorePackager::variantPitchName(entry, -1), "");
    EXPECT_EQ(SourceStorePackager::variantPitchName(entry, entry.count()), "");
}

TEST(V6Index, AMissingIndexPrintsOnceAndLeavesEverythingEmpty)
{
    testbank::BankTree tree("v6_missing");
    const auto folder = tree.addBank("b", "6.1", "B");
    std::ostringstream log;
    const SourceStorePackager p(testbank::packageBasePath(folder), log);
    EXPECT_EQ(log.str(),
              "fail to read package index file " + testbank::packageBasePath(folder) + "HVI: cannot be read\n");
    EXPECT_EQ(p.getFormatMajor(), 0);
    EXPECT_EQ(p.getHeader().hopSize, 0);
    EXPECT_TRUE(p.getTimbreTable().empty());
    EXPECT_EQ(p.getTimbreTimes()[0], 0);
    EXPECT_FALSE(p.getHasExt1());
    EXPECT_TRUE(p.getUnitIndex().empty());
}

TEST(V6Index, EveryCutKeepsTheRecordsReadWhole)
{
    testbank::BankDescriptionV6 bank;
    bank.formatMinor = 2;
    for (const char* u : {"la", "ka", "ma"})
        bank.variants.push_back({u, "C4", 0, "x"});
    const std::string full = testbank::writePackageV6(bank).index;
    testbank::BankDescriptionV6 head = bank;
    head.variants.clear();
    const std::size_t headSize = testbank::writePackageV6(head).index.size();
    // Each framed record: 4 + kind 4 + name 4 + 2 + pitch 4 + 2 + offset 4 + part 4 = 28 bytes.
    ASSERT_EQ(full.size(), headSize + 3 * 28);
    Disk disk("v6_cut");
    for (std::size_t length = 0; length <= full.size(); ++length) {
        const SourceStorePackager& p = disk.openIndex(full.substr(0, length));
        int variants = 0;
        for (const auto& [unit, entry] : p.getUnitIndex())
            variants += entry.count();
        const int whole = length < headSize ? 0 : int((length - headSize) / 28);
        EXPECT_EQ(variants, whole) << length;
        const bool atBoundary = length >= headSize && (length - headSize) % 28 == 0;
        EXPECT_EQ(testbank::packageMessages(disk.log.str()), atBoundary ? 0 : 1) << length;
        if (length >= 12 + 44) {  // version pair, extra value and header read whole
            EXPECT_EQ(p.getHeader().hopSize, 256) << length;
        }
    }
}

// A group list of separators alone would build an entry of three strings
// (96 bytes) for every 3 bytes: past the read budget of 12 bytes per byte,
// so the index is damaged. A genuine list of many pitch groups is read.
TEST(V6Index, TimbreTablesStayWithinTheReadBudget)
{
    std::string manyGroups;
    for (int i = 0; i < 1000; ++i)
        manyGroups += "C4/E4/G4/";
    const struct {
        std::string groups;
        std::size_t entries;
        int messages;
    } cases[] = {{std::string(600000, '/'), 0, 1}, {manyGroups, 1000, 0}};
    Disk disk("v6_groups");
    for (const auto& c : cases) {
        testbank::BankDescriptionV6 bank;
        bank.groupList = c.groups;
        bank.variants = {{"la", "C4", 0, ""}};
        const SourceStorePackager& p = disk.open(testbank::writePackageV6(bank));
        EXPECT_EQ(p.getTimbreTable().size(), c.entries) << c.groups.size();
        EXPECT_EQ(testbank::packageMessages(disk.log.str()), c.messages) << c.groups.size();
    }
}

}  // namespace
