#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/bank/BankCorpus.h"
#include "support/bank/PackageOnDisk.h"
#include "voicebank/v3/SourceStorePackager.h"
#include "voicebank/v4/SourceStorePackager.h"
#include "voicebank/v6/SourceStorePackager.h"

namespace {

std::string committed(const std::string& name)
{
    std::ifstream in(std::string(HV_BANK_CORPUS_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(BankCorpus, CommittedFilesEqualTheGeneratorsOutput)
{
    for (const testbank::CorpusFile& f : testbank::bankCorpus()) {
        EXPECT_EQ(committed(f.name), f.bytes) << f.name << ": run the bank_corpus target";
        EXPECT_LT(f.bytes.size(), 4096u) << f.name;
    }
}

template <class Packager>
void expectIndexReads(const std::string& name, std::size_t units)
{
    testbank::PackageOnDisk<Packager> disk("corpus_index");
    const Packager& p = disk.openIndex(committed(name));
    EXPECT_EQ(disk.log.str(), "") << name;
    EXPECT_EQ(p.index().unitIndex.size(), units) << name;
    EXPECT_EQ(p.index().nameIndex.size(), 1u) << name;
}

// A record file is a content file holding one record at offset 0.
template <class Packager>
const Packager& openRecord(testbank::PackageOnDisk<Packager>& disk, const std::string& name)
{
    testbank::BankDescription bank;
    bank.ext1 = true;
    bank.variants.push_back({"la", "C4", 0, ""});
    testbank::PackageFiles files = testbank::writePackage(bank);
    files.parts[0] = committed(name);
    return disk.open(files);
}

TEST(BankCorpus, EveryFileReadsWithoutAMessage)
{
    expectIndexReads<HalvorenEngineV3::SourceStorePackager>("v3_index_plain.hvi", 2);
    expectIndexReads<HalvorenEngineV3::SourceStorePackager>("v3_index_ext2_ext1.hvi", 2);
    expectIndexReads<HalvorenEngineV4::SourceStorePackager>("v4_index_all_markers.hvi", 2);

    {
        testbank::PackageOnDisk<HalvorenEngineV3::SourceStorePackager> disk("corpus_v3");
        const auto voice = openRecord(disk, "v3_voice.rec").loadVoiceSrc("la", "C4", 0, 0);
        ASSERT_NE(voice, nullptr);
        EXPECT_EQ(voice->param11, 256);
        EXPECT_EQ(voice->material->ext1.values.size(), 3u);
        const auto continuant = openRecord(disk, "v3_continuant.rec").loadContinuantSrc("la", "C4", 0, 0);
        ASSERT_NE(continuant, nullptr);
        EXPECT_EQ(continuant->hop, 256);
        EXPECT_EQ(disk.log.str(), "");
    }
    {
        testbank::PackageOnDisk<HalvorenEngineV4::SourceStorePackager> disk("corpus_v4");
        const auto voice = openRecord(disk, "v4_voice.rec").loadVoiceSrc("la", "C4", 0, 0);
        ASSERT_NE(voice, nullptr);
        EXPECT_EQ(voice->material->peaks.frameCount, 1);
        const auto continuant = openRecord(disk, "v4_continuant.rec").loadContinuantSrc("la", "C4", 0, 0);
        ASSERT_NE(continuant, nullptr);
        EXPECT_EQ(continuant->v4ContParam3, -1);
        EXPECT_EQ(disk.log.str(), "");
    }
}

TEST(BankCorpus, SixthGenerationFilesReadWithoutAMessage)
{
    using HalvorenEngineV6::SourceStorePackager;
    testbank::PackageOnDisk<SourceStorePackager> disk("corpus_v6");
    for (const char* name : {"v6_index_60.hvi", "v6_index_61.hvi", "v6_index_62.hvi"}) {
        const SourceStorePackager& p = disk.openIndex(committed(name));
        EXPECT_EQ(disk.log.str(), "") << name;
        EXPECT_EQ(p.getUnitIndex().size(), 2u) << name;
        EXPECT_EQ(p.getUnitIndex().count("a_l"), 1u) << name;
        EXPECT_EQ(p.getTailInt2(), 400) << name;
    }
    testbank::BankDescriptionV6 bank;
    bank.variants.push_back({"la", "C4", 0, ""});
    testbank::PackageFiles files = testbank::writePackageV6(bank);
    files.parts[0] = committed("v6_voice.rec");
    const auto voice = disk.open(files).loadVoiceSrc("la", "C4", 0, 0);
    ASSERT_NE(voice, nullptr);
    ASSERT_NE(voice->material, nullptr);
    EXPECT_EQ(voice->material->samples.numSamples(), 4u);
    EXPECT_EQ(voice->material->mags4.frameCount, 1);
    EXPECT_EQ(voice->material->floats3.numSamples(), 1u);
    files.parts[0] = committed("v6_continuant.rec");
    const auto continuant = disk.open(files).loadContinuantSrc("la", "C4", 0, 0);
    ASSERT_NE(continuant, nullptr);
    EXPECT_EQ(continuant->v6ContParam7, -4);
    EXPECT_EQ(continuant->material->ints1.numSamples(), 1u);
    EXPECT_EQ(disk.log.str(), "");
}

}  // namespace
