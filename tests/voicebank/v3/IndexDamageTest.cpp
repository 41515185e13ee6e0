#include <gtest/gtest.h>

#include "support/ByteBuilder.h"
#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/NameScramble.h"
#include "voicebank/v3/SourceStorePackager.h"

namespace {

using HalvorenEngineV3::SourceStorePackager;

int variantsIndexed(const SourceStorePackager& p)
{
    int n = 0;
    for (const auto& [unit, entry] : p.index().unitIndex)
        n += entry.count();
    return n;
}

TEST(IndexDamage, AMissingIndexLeavesZerosAndDefaults)
{
    testbank::BankTree tree("idx_missing");
    const auto folder = tree.addBank("b", "3.1", "B");
    std::ostringstream log;
    const SourceStorePackager p(testbank::packageBasePath(folder), log);
    EXPECT_EQ(log.str(),
              "fail to read package index file " + testbank::packageBasePath(folder) + "HVI: cannot be read\n");
    EXPECT_EQ(p.header().hopSize, 0);
    EXPECT_EQ(p.header().sampleRate, 0.0f);
    EXPECT_EQ(p.header().powerWidth, 0.0f);
    EXPECT_FALSE(p.hasExt1());
    EXPECT_FALSE(p.hasExt2());
    EXPECT_EQ(p.index().timbreTable.size(), 4u);
    EXPECT_EQ(p.index().timbreTimes[2], 1250);
    EXPECT_TRUE(p.index().unitIndex.empty());
    EXPECT_TRUE(p.index().nameIndex.empty());
}

TEST(IndexDamage, EveryCutKeepsTheRecordsReadWhole)
{
    testbank::BankDescription bank;
    bank.ext2 = true;
    bank.ext1 = true;
    const std::string units[] = {"la", "ka", "ma"};
    for (const std::string& u : units)
        bank.variants.push_back({u, "C4", 0, "x"});
    const std::string full = testbank::writePackage(bank).index;
    testbank::BankDescription head = bank;
    head.variants.clear();
    // Each framed record: 4 + kind 4 + name 4 + 2 + pitch 4 + 2 + offset 4 + part 4 = 28 bytes.
    const std::size_t headSize = testbank::writePackage(head).index.size();
    ASSERT_EQ(full.size(), headSize + 3 * 28);

    testbank::PackageOnDisk<SourceStorePackager> disk("idx_cut");
    for (std::size_t length = 0; length <= full.size(); ++length) {
        const SourceStorePackager& p = disk.openIndex(full.substr(0, length));
        const int whole = length < headSize ? 0 : int((length - headSize) / 28);
        EXPECT_EQ(variantsIndexed(p), whole) << length;
        EXPECT_LE(testbank::packageMessages(disk.log.str()), 1) << length;
        // Cut right before "ext1", the index reads whole without it.
        const bool atBoundary = length == headSize - 4 || (length >= headSize && (length - headSize) % 28 == 0);
        EXPECT_EQ(testbank::packageMessages(disk.log.str()), atBoundary ? 0 : 1) << length;
        if (length >= 4 + 44) {  // marker and header read whole
            EXPECT_EQ(p.header().hopSize, 256) << length;
        }
    }
}

TEST(IndexDamage, StringLengthsOutOfRange)
{
    const testbank::BankHeader h;
    hvtest::ByteBuilder head;
    head.i32(h.hopSize).f32(h.sampleRate).f32(0).f32(0).f32(0).f32(h.maxHarmonicFreq).i32(h.phaseSetting).i32(0);
    head.f32(h.powerAmount).f32(h.powerCentre).f32(h.powerWidth);

    // A length byte of 0x80 is negative: "" with no bytes, and the next byte
    // is the next string's length.
    {
        hvtest::ByteBuilder index = head;
        index.u8(0x80).h8("").h8("CHN");
        hvtest::ByteBuilder record;
        record.i32(0).i32(-1).str(testbank::scrambleName("C4")).i32(12);  // name of length -1 is ""
        index.block(record);
        testbank::PackageOnDisk<SourceStorePackager> disk("str_neg");
        const SourceStorePackager& p = disk.openIndex(index.bytes);
        EXPECT_EQ(disk.log.str(), "");
        EXPECT_EQ(p.index().strings[0], "");
        EXPECT_EQ(p.index().strings[2], "CHN");
        ASSERT_EQ(p.index().unitIndex.count(""), 1u);
        EXPECT_EQ(p.index().unitIndex.at("").variants[0].offset, 12);
    }
    // A header string past the end of the file: the message, the header kept.
    {
        hvtest::ByteBuilder index = head;
        index.h8("").u8(0x7F).raw("abc");
        testbank::PackageOnDisk<SourceStorePackager> disk("str_past");
        const SourceStorePackager& p = disk.openIndex(index.bytes);
        EXPECT_EQ(testbank::packageMessages(disk.log.str()), 1);
        EXPECT_EQ(p.header().powerWidth, h.powerWidth);
        EXPECT_EQ(p.index().strings[1], "");
    }
    // A record string past its record: that record is skipped, the next one
    // read; a record frame past the end of the file stops the index.
    {
        hvtest::ByteBuilder index = head;
        index.h8("").h8("").h8("CHN");
        hvtest::ByteBuilder bad;
        bad.i32(0).i32(0x7FFFFFFF).raw("ab");
        hvtest::ByteBuilder good;
        good.i32(0).str(testbank::scrambleName("la")).str(testbank::scrambleName("E4")).i32(7);
        index.block(bad).block(good).i32(1000).raw("short");
        testbank::PackageOnDisk<SourceStorePackager> disk("rec_past");
        const SourceStorePackager& p = disk.openIndex(index.bytes);
        EXPECT_EQ(testbank::packageMessages(disk.log.str()), 1);
        ASSERT_EQ(p.index().unitIndex.size(), 1u);
        EXPECT_EQ(p.index().unitIndex.at("la").variants[0].offset, 7);
    }
}

// A genuine index above 8 MiB (9,400 units at 32 pitches, 32 bytes a
// variant record) is read whole; one above the largest index read is
// refused with a message that says so.
TEST(IndexDamage, LargeIndexesAreReadUpToTheLimit)
{
    testbank::BankDescription bank;
    bank.ext2 = true;
    const char* pitches[] = {"C2", "C#2", "D2", "D#2", "E2", "F2", "F#2", "G2", "G#2", "A2", "A#2",
                             "B2", "C3", "C#3", "D3", "D#3", "E3", "F3", "F#3", "G3", "G#3", "A3",
                             "A#3", "B3", "C4", "C#4", "D4", "D#4", "E4", "F4", "F#4", "G4"};
    for (int u = 0; u < 9400; ++u)
        for (const char* pitch : pitches)
            bank.variants.push_back({"u" + std::to_string(10000 + u), pitch, 0, ""});
    const std::string index = testbank::writePackage(bank).index;
    ASSERT_GT(index.size(), std::size_t{9} << 20);
    testbank::PackageOnDisk<SourceStorePackager> disk("idx_large");
    const SourceStorePackager& p = disk.openIndex(index);
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_EQ(p.index().unitIndex.size(), 9400u);
    EXPECT_EQ(variantsIndexed(p), 9400 * 32);

    std::filesystem::resize_file(disk.folder / "HVI", Halvoren::kMaxIndexBytes + 1);  // sparse
    disk.reopen();
    EXPECT_EQ(disk.log.str(), "fail to read package index file " + (disk.folder / "HVI").string() +
                                  ": larger than 67108864 bytes\n");
    EXPECT_TRUE(disk.package->index().unitIndex.empty());
}

}  // namespace
