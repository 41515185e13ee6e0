#include <gtest/gtest.h>

#include "support/ByteBuilder.h"
#include "support/bank/HexBytes.h"
#include "support/bank/PackageOnDisk.h"
#include "voicebank/v4/SourceStorePackager.h"

namespace {

using HalvorenEngineV4::SourceStorePackager;
using testbank::hexBytes;

hvtest::ByteBuilder headerValues()
{
    hvtest::ByteBuilder b;
    b.i32(256).f32(44100.0f);
    for (int i = 0; i < 9; ++i)
        b.i32(0);
    return b;
}

TEST(V4Index, MarkersAreTestedInTheirOrder)
{
    // "ext3" alone: the "ext2" defaults stay, three floats follow the strings.
    {
        hvtest::ByteBuilder index;
        index.raw("ext3").raw(headerValues().bytes).h8("").h8("").h8("CHN").f32(0.25f).f32(2.0f).f32(-6.0f);
        testbank::PackageOnDisk<SourceStorePackager> disk("v4_ext3");
        const SourceStorePackager& p = disk.openIndex(index.bytes);
        EXPECT_EQ(disk.log.str(), "");
        EXPECT_FALSE(p.hasExt2());
        EXPECT_TRUE(p.hasExt3());
        EXPECT_FALSE(p.hasExt4());
        EXPECT_EQ(p.index().timbreTable.size(), 4u);
        EXPECT_EQ(p.index().timbreTimes[0], 1000);
        EXPECT_EQ(p.ext3Values()[0], 0.25f);
        EXPECT_EQ(p.ext3Values()[2], -6.0f);
        EXPECT_EQ(p.index().strings[2], "CHN");
    }
    // "ext2" then "ext4": all four strings, the group list included, have
    // int32 lengths; no "ext3" gives 0.5, 1.2, -20.0.
    {
        hvtest::ByteBuilder index;
        index.raw("ext2ext4").raw(headerValues().bytes).str("one").str("").str("CHN").str("C4/D4/E4");
        index.i32(900).i32(800).i32(1100);
        testbank::PackageOnDisk<SourceStorePackager> disk("v4_ext24");
        const SourceStorePackager& p = disk.openIndex(index.bytes);
        EXPECT_EQ(disk.log.str(), "");
        EXPECT_TRUE(p.hasExt2());
        EXPECT_FALSE(p.hasExt3());
        EXPECT_TRUE(p.hasExt4());
        EXPECT_EQ(p.index().strings[0], "one");
        EXPECT_EQ(p.index().strings[2], "CHN");
        ASSERT_EQ(p.index().timbreTable.size(), 1u);
        EXPECT_EQ(p.index().timbreTable[0].middle, "D4");
        EXPECT_EQ(p.index().timbreTimes[2], 1100);
        EXPECT_EQ(p.ext3Values()[0], 0.5f);
        EXPECT_EQ(p.ext3Values()[1], 1.2f);
        EXPECT_EQ(p.ext3Values()[2], -20.0f);
    }
    // "ext3" then "ext2": only "ext3" is a marker; "ext2" is the hop,
    // 65 78 74 32 = 0x32747865 = 846493797.
    {
        hvtest::ByteBuilder index;
        index.raw("ext3ext2").raw(headerValues().bytes);
        testbank::PackageOnDisk<SourceStorePackager> disk("v4_ext32");
        const SourceStorePackager& p = disk.openIndex(index.bytes);
        EXPECT_TRUE(p.hasExt3());
        EXPECT_FALSE(p.hasExt2());
        EXPECT_FALSE(p.hasExt4());
        EXPECT_EQ(p.header().hopSize, 846493797);
        EXPECT_EQ(p.header().sampleRate, std::bit_cast<float>(256));
    }
    // A negative int32 string length under "ext4" is "".
    {
        hvtest::ByteBuilder index;
        index.raw("ext4").raw(headerValues().bytes).i32(-1).i32(int32_t(0x80000000u)).str("CHN");
        testbank::PackageOnDisk<SourceStorePackager> disk("v4_neg");
        const SourceStorePackager& p = disk.openIndex(index.bytes);
        EXPECT_EQ(disk.log.str(), "");
        EXPECT_EQ(p.index().strings[0], "");
        EXPECT_EQ(p.index().strings[2], "CHN");
    }
}

TEST(V4Index, TheWriterMakesEveryBlockInItsPlace)
{
    // "ext2ext3ext4", hop 256, 44100, nine zeros, then int32-length strings.
    const std::string golden = hexBytes(
        "65 78 74 32 65 78 74 33 65 78 74 34  00 01 00 00  00 44 2C 47 "
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "  // nine zeros
        "00 00 00 00 00 00 00 00 "
        "00 00 00 00  00 00 00 00  03 00 00 00 43 48 4E "    // "", "", "CHN"
        "02 00 00 00 43 34  E8 03 00 00 52 03 00 00 E2 04 00 00 "  // "C4", 1000, 850, 1250
        "00 00 00 3F  9A 99 99 3F  00 00 A0 C1 "             // 0.5, 1.2, -20.0
        "65 78 74 31");                                       // "ext1"
    testbank::BankDescription bank;
    bank.ext2 = bank.ext3 = bank.ext4 = bank.ext1 = true;
    bank.header = testbank::BankHeader{.maxHarmonicFreq = 0.0f, .phaseSetting = 0, .powerAmount = 0.0f,
                                       .powerCentre = 0.0f, .powerWidth = 0.0f};
    bank.groupList = "C4";
    EXPECT_EQ(testbank::writePackage(bank).index, golden);
    testbank::PackageOnDisk<SourceStorePackager> disk("v4_golden");
    const SourceStorePackager& p = disk.openIndex(golden);
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_TRUE(p.hasExt1() && p.hasExt2() && p.hasExt3() && p.hasExt4());
    EXPECT_TRUE(p.index().timbreTable.empty());
    EXPECT_EQ(p.ext3Values()[1], 1.2f);
}

TEST(V4Loaders, ContinuantValuesSwapTheLastTwo)
{
    // 1, 2, 3, 4 then the empty material.
    const std::string golden = hexBytes(
        "6C 00 00 00  01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00 "
        "00 00 00 00  00 02 00 00  00 44 2C 47 "
        "00 00 00 00  00 00 80 BF  00 00 00 00  00 00 00 00  00 00 00 00 "
        "00 02 00 00  00 44 2C 47  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00 "
        "00 02 00 00  00 44 2C 47  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00 "
        "00 00 00 00  00 00 00 00  00 00 00 00");
    testbank::BankDescription bank;
    bank.ext1 = true;  // a continuant never reads the table
    // Fields 1, 2, 4, 3 are stored as 1, 2, 3, 4.
    bank.variants.push_back({"a_l", "C4", 0, testbank::v4ContinuantRecord({1, 2, 4, 3}, testbank::ghrModelBytes({}))});
    const testbank::PackageFiles files = testbank::writePackage(bank);
    EXPECT_EQ(files.parts.at(0), golden);

    testbank::PackageOnDisk<SourceStorePackager> disk("v4_cont");
    const SourceStorePackager& p = disk.open(files);
    for (int withMaterial = 0; withMaterial < 2; ++withMaterial) {
        std::unique_ptr<HalvorenEngineV4::SrcContinuantParameter> c;
        if (withMaterial)
            c = p.loadContinuantSrc("a_l", "C4", 0, 0);
        else
            c = p.loadSrcContinuantParameter("a_l", "C4", 0, 0);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->v4ContParam1, 1);
        EXPECT_EQ(c->v4ContParam2, 2);
        EXPECT_EQ(c->v4ContParam3, 4);
        EXPECT_EQ(c->v4ContParam4, 3);
    }
    EXPECT_EQ(p.loadContinuantSrc("a_l", "C4", 0, 0)->material->ext1.rows, 0);
    EXPECT_EQ(disk.log.str(), "");
}

TEST(V4Loaders, VoiceValuesInOrderThenMaterialAndTable)
{
    testbank::PlainFrame frame;
    frame.harmonicsDb = {-3.0f};
    testbank::BankDescription bank;
    bank.ext1 = true;
    bank.variants.push_back({"la", "A3", 0, testbank::v4VoiceRecord({10, 20, 30, 40, 50, 60, 70, 80, 90},
                                                                   testbank::ghrModelBytes({frame}),
                                                                   testbank::PhaseTable{})});
    bank.variants.push_back({"ka", "A3", 0, std::string(35, '\0')});  // one byte short of nine values
    testbank::PackageOnDisk<SourceStorePackager> disk("v4_voice");
    const SourceStorePackager& p = disk.open(testbank::writePackage(bank));
    std::int32_t offset = -1;
    std::int32_t part = -1;
    ASSERT_EQ(p.findRecordKey("la", "Bb3", offset, part), "A3");
    const auto voice = p.loadVoiceSrc("la", "A3", offset, part);
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->v4Param1, 10);
    EXPECT_EQ(voice->v4Param6, 60);
    EXPECT_EQ(voice->v4Param7, 70);
    EXPECT_EQ(voice->v4Param9, 90);
    EXPECT_EQ(voice->material->peaks.frameCount, 1);
    EXPECT_EQ(voice->material->ext1.stride, 3);
    EXPECT_EQ(voice->material->ext1.values.size(), 3u);
    const auto parameter = p.loadSrcParameter("la", "A3", offset, part);
    ASSERT_NE(parameter, nullptr);
    EXPECT_EQ(parameter->v4Param8, 80);
    EXPECT_EQ(disk.log.str(), "");

    ASSERT_EQ(p.findRecordKey("ka", "A3", offset, part), "A3");
    EXPECT_EQ(p.loadSrcParameter("ka", "A3", offset, part), nullptr);
    EXPECT_NE(disk.log.str().find("fail to read package content file"), std::string::npos);
}

}  // namespace
