#include <gtest/gtest.h>

#include <string>

#include "platform/LittleEndian.h"
#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/BankWriterV6.h"
#include "voicebank/v6/SourceStorePackager.h"

namespace {

using HalvorenEngineV6::SourceStorePackager;
using Disk = testbank::PackageOnDisk<SourceStorePackager>;

std::string model77()
{
    testbank::CompactModel m;
    m.modelInt0 = 77;
    m.samples = {5, -5};
    m.floats3 = {0.25f};
    return testbank::compactModelBytes(m);
}

struct Bank {
    Bank() : disk("v6_loaders")
    {
        testbank::BankDescriptionV6 bank;
        bank.variants = {
            {"la", "C4", 0, testbank::v6VoiceRecord({1, 2, 3, 4, 5, 6, 7, 8}, model77())},
            {"a_l", "C4", 1, testbank::v6ContinuantRecord({11, 12, 13, 14, 15, 16, 17}, model77())},
            {"short", "C4", 0, std::string(31, '\0')},
        };
        disk.open(testbank::writePackageV6(bank));
    }
    std::int32_t offsetOf(const std::string& unit, std::int32_t& part) const
    {
        std::int32_t offset = -1;
        disk.package->findRecordKey(unit, "C4", offset, part);
        return offset;
    }
    Disk disk;
};

TEST(V6Loaders, VoiceRecordsHoldEightValuesBeforeTheModel)
{
    Bank b;
    std::int32_t part = -1;
    const std::int32_t offset = b.offsetOf("la", part);
    const auto voice = b.disk.package->loadVoiceSrc("la", "C4", offset, part);
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->name, "la");
    EXPECT_EQ(voice->pitch, "C4");
    EXPECT_EQ(voice->v6Param1, 1);
    EXPECT_EQ(voice->v6Param6, 6);
    EXPECT_EQ(voice->v6Param8, 8);
    ASSERT_NE(voice->material, nullptr);
    EXPECT_EQ(voice->material->modelInt0, 77);
    EXPECT_EQ(voice->material->name, "la");
    ASSERT_EQ(voice->material->samples.numSamples(), 2u);
    EXPECT_EQ(voice->material->samples[1], -5);
    EXPECT_EQ(voice->material->floats3.numSamples(), 1u);

    const auto param = b.disk.package->loadSrcParameter("la", "C4", offset, part);
    ASSERT_NE(param, nullptr);
    EXPECT_EQ(param->v6Param7, 7);
    EXPECT_EQ(b.disk.log.str(), "");
}

TEST(V6Loaders, ContinuantRecordsHoldSevenValuesBeforeTheModel)
{
    Bank b;
    std::int32_t part = -1;
    const std::int32_t offset = b.offsetOf("a_l", part);
    EXPECT_EQ(part, 1);
    const auto continuant = b.disk.package->loadContinuantSrc("a_l", "C4", offset, part);
    ASSERT_NE(continuant, nullptr);
    EXPECT_EQ(continuant->v6ContParam1, 11);
    EXPECT_EQ(continuant->v6ContParam7, 17);
    ASSERT_NE(continuant->material, nullptr);
    EXPECT_EQ(continuant->material->modelInt0, 77);
    const auto param = b.disk.package->loadSrcContinuantParameter("a_l", "C4", offset, part);
    ASSERT_NE(param, nullptr);
    EXPECT_EQ(param->v6ContParam5, 15);
    EXPECT_EQ(b.disk.log.str(), "");
}

TEST(V6Loaders, UnreadableRecordsLoadAsNull)
{
    Bank b;
    std::int32_t part = -1;
    const std::int32_t offset = b.offsetOf("short", part);
    const std::string hvc = testbank::packageBasePath(b.disk.folder) + "HVC";
    // 31 bytes: one short of the eight voice values, three past the seven continuant values.
    const std::string shortFault =
        hvc + ": the record at byte " + std::to_string(offset) + " claims 31 bytes, fewer than the 32 its values take";
    EXPECT_EQ(b.disk.package->loadVoiceSrc("short", "C4", offset, part), nullptr);
    EXPECT_EQ(b.disk.log.str(), "fail to read package content file " + shortFault + "\n");
    EXPECT_NE(b.disk.package->loadSrcContinuantParameter("short", "C4", offset, part), nullptr);
    // Each content file is named once, with its first fault.
    b.disk.log.str("");
    EXPECT_EQ(b.disk.package->loadSrcParameter("la", "C4", 0, 7), nullptr);
    EXPECT_EQ(b.disk.log.str(),
              "fail to read package content file " + hvc + "_7: cannot be opened: No such file or directory\n");
    b.disk.log.str("");
    EXPECT_EQ(b.disk.package->loadContinuantSrc("la", "C4", 1 << 20, 0), nullptr);
    EXPECT_EQ(b.disk.package->loadVoiceSrc("short", "C4", offset, part), nullptr);
    EXPECT_EQ(b.disk.log.str(), "");
    EXPECT_EQ(b.disk.package->contentFault(), shortFault);
}

}  // namespace

// A voice model read past the end of its record, or holding a value that is
// not finite, is the record's fault, named with its content file; an offset
// inside the bytes of a record that reads whole is the entry's fault, named
// with the index file, and the record it points into still loads.
TEST(V6Loaders, AModelCutOrNotFiniteIsTheRecordsFaultAnOffsetInsideIsTheEntrys)
{
    const std::string la = testbank::v6VoiceRecord({1, 2, 3, 4, 5, 6, 7, 8}, model77());
    const auto size = std::int32_t(la.size());
    struct Case {
        const char* what;
        std::int32_t patchAt;  // where word is written over the content file
        std::uint32_t word;
        std::int32_t offset;   // the load's
        std::string fault;     // its file first, after the folder
    };
    const Case cases[] = {
        {"whole", 0, std::uint32_t(size), 0, ""},
        {"length one short", 0, std::uint32_t(size - 1), 0,
         "HVC: the record at byte 0 holds " + std::to_string(size - 1) + " bytes; its voice model needs at least " +
             std::to_string(size)},
        // The model's sample rate follows the eight values and two ints.
        {"sample rate NaN", 4 + 40, 0x7FC00000, 0,
         "HVC: the record at byte 0 holds a value that is not finite at byte 44, in its voice model"},
        {"an offset 40 bytes in", 0, std::uint32_t(size), 40,
         "HVI: the entry of \"la\" at C4 places its record at byte 40 of <HVC>, inside the record at byte 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testbank::BankDescriptionV6 bank;
        bank.variants = {{"la", "C4", 0, la}};
        testbank::PackageFiles files = testbank::writePackageV6(bank);
        storeLittleEndian32(files.parts.at(0).data() + c.patchAt, c.word);
        Disk disk("v6_damage");
        const SourceStorePackager& p = disk.open(files);
        EXPECT_EQ(p.loadVoiceSrc("la", "C4", c.offset, 0) != nullptr, c.fault.empty());
        const std::string base = testbank::packageBasePath(disk.folder);
        std::string fault = c.fault.empty() ? "" : base + c.fault;
        if (const std::size_t at = fault.find("<HVC>"); at != std::string::npos)
            fault.replace(at, 5, base + "HVC");
        EXPECT_EQ(p.contentFault(), fault);
        if (c.offset != 0) {
            EXPECT_NE(p.loadVoiceSrc("la", "C4", 0, 0), nullptr);
        }
    }
}
