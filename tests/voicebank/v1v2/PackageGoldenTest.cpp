// Package bytes typed from the file layouts: the writer must make exactly
// them, and the packagers must read back what they hold.
#include <gtest/gtest.h>

#include "support/bank/HexBytes.h"
#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/HprBankWriter.h"
#include "voicebank/v1/SourceStorePackager.h"
#include "voicebank/v2/SourceStorePackager.h"

namespace {

using testbank::hexBytes;

// hop 256, rate 44100; one record of 16 bytes: "ma" stored as D1 C6
// (0x6D + 100, 0x61 + 101), "A3" as A5 98 (0x41 + 100, 0x33 + 101), offset 0.
const std::string kIndexHex =
    "00 01 00 00  00 44 2C 47  10 00 00 00  02 00 00 00 D1 C6  02 00 00 00 A5 98  00 00 00 00";

// beginPos 0, endPos 1, param3 2, param4 3, param5 1, param7 1.0f, param8 2,
// param9 1, param10 1.0f, param11 (hop) 256, param12 0, param13 0; one frame
// of one peak: 220 Hz, -20 dB, phase 0; residual of 4 bytes: 1, -1.
const std::string kVoiceHex =
    "00 00 00 00  01 00 00 00  02 00 00 00  03 00 00 00  01 00 00 00  00 00 80 3F"
    "  02 00 00 00  01 00 00 00  00 00 80 3F  00 01 00 00  00 00 00 00  00 00 00 00"
    "  01 00 00 00  01 00 00 00  01 00 00 00 00 00 5C 43  01 00 00 00 00 00 A0 C1"
    "  01 00 00 00 00 00 00 00  04 00 00 00 01 00 FF FF";

// param1 0, param2 2, hop 256; step 220, one frame of 2 levels: -20, -26;
// no residual.
const std::string kContinuantHex =
    "00 00 00 00  02 00 00 00  00 01 00 00  00 00 5C 43  01 00 00 00"
    "  02 00 00 00  02 00 00 00 00 00 A0 C1 00 00 D0 C1  00 00 00 00";
using testbank::floatBits;

TEST(HprPackageGolden, IndexOfOneVariantIsTheTypedBytes)
{
    testbank::HprBankDescription bank;
    bank.variants.push_back({"ma", "A3", 0, ""});
    EXPECT_EQ(testbank::writeHprPackage(bank).index, hexBytes(kIndexHex));

    testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_golden_index");
    const auto& package = disk.openIndex(hexBytes(kIndexHex));
    EXPECT_EQ(package.header().hopSize, 256);
    EXPECT_EQ(package.header().sampleRate, 44100.0f);
    const auto& entry = package.index().unitIndex.at("ma");
    ASSERT_EQ(entry.count(), 1);
    EXPECT_EQ(entry.variants[0].note, 21);  // A3 = 9 + (3 - 2) * 12
    EXPECT_EQ(entry.variants[0].offset, 0);
}

TEST(HprPackageGolden, FirstGenerationVoiceBlob)
{
    const std::string blob = hexBytes(kVoiceHex);
    ASSERT_EQ(blob.size(), 88u);
    const std::string material = testbank::peakListMaterial({{{220.0f}, {-20.0f}, {0.0f}}}, {1, -1});
    EXPECT_EQ(testbank::hprVoiceRecord<12>({0, 1, 2, 3, 1, floatBits(1.0f), 2, 1, floatBits(1.0f), 256, 0, 0}, material),
              blob);

    testbank::HprBankDescription bank;
    bank.variants.push_back({"ma", "A3", 0, blob});
    testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_golden_voice");
    const auto& package = disk.open(testbank::writeHprPackage(bank));
    const auto voice = package.loadVoiceSrc(0, "ma", "A3");
    ASSERT_TRUE(voice);
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_EQ(voice->name, "ma");
    EXPECT_EQ(voice->pitch, "A3");
    EXPECT_EQ(voice->endPos, 1);
    EXPECT_EQ(voice->param4, 3);
    EXPECT_EQ(voice->param7, 1.0f);
    EXPECT_EQ(voice->param9, 1);
    EXPECT_EQ(voice->param11, 256);
    ASSERT_TRUE(voice->material);
    EXPECT_EQ(voice->material->hop, 256);
    EXPECT_EQ(voice->material->name, "ma");
    ASSERT_EQ(voice->material->peaks.size(), 1u);
    const auto& frame = voice->material->peaks.frame(0);
    ASSERT_EQ(frame.freqs.size(), 1u);
    EXPECT_EQ(frame.freqs[0], 220.0f);
    EXPECT_EQ(frame.mags[0], -20.0f);
    EXPECT_EQ(frame.phases[0], 0.0f);
    ASSERT_EQ(voice->material->residual.numSamples(), 2u);
    EXPECT_EQ(voice->material->residual.ptrBegin()[0], 1);
    EXPECT_EQ(voice->material->residual.ptrBegin()[1], -1);
}

TEST(HprPackageGolden, SecondGenerationContinuantBlob)
{
    const std::string blob = hexBytes(kContinuantHex);
    EXPECT_EQ(testbank::hprContinuantRecord(0, 2, 256, testbank::harmonicMaterial(220.0f, {{-20.0f, -26.0f}}, {})),
              blob);

    testbank::HprBankDescription bank;
    bank.generation = 2;
    bank.variants.push_back({"a_m", "A3", 0, blob});
    testbank::PackageOnDisk<HalvorenEngineV2::SourceStorePackager> disk("hpr_golden_continuant");
    const auto& package = disk.open(testbank::writeHprPackage(bank));
    const auto continuant = package.loadContinuantSrc(0, "a_m", "A3");
    ASSERT_TRUE(continuant);
    EXPECT_EQ(continuant->param1, 0);
    EXPECT_EQ(continuant->param2, 2);
    EXPECT_EQ(continuant->hop, 256);
    ASSERT_TRUE(continuant->material);
    EXPECT_EQ(continuant->material->hop, 256);
    ASSERT_EQ(continuant->material->peaks.size(), 1u);
    const auto& frame = continuant->material->peaks.frame(0);
    EXPECT_EQ(frame.freqs, (std::vector<float>{220.0f, 440.0f}));
    EXPECT_EQ(frame.mags, (std::vector<float>{-20.0f, -26.0f}));
    EXPECT_EQ(frame.phases, (std::vector<float>{0.0f, 0.0f}));
    EXPECT_EQ(continuant->material->residual.numSamples(), 0u);
}

TEST(HprPackageGolden, SecondGenerationHeaderKeepsElevenValuesInFileOrder)
{
    testbank::HprBankDescription bank;
    bank.generation = 2;
    bank.header = testbank::BankHeader{.hopSize = 128, .sampleRate = 22050.0f, .param3 = 1.5f, .param4 = 2.5f,
                                       .param5 = 3.5f, .maxHarmonicFreq = 8000.0f, .phaseSetting = 7, .param8 = 9,
                                       .powerAmount = 6.0f, .powerCentre = 2500.0f, .powerWidth = 900.0f};
    // 128 = 80 00 00 00; 22050 = 0x46AC4400; 7 and 9 as int32 in the middle.
    const std::string golden = hexBytes(
        "80 00 00 00  00 44 AC 46  00 00 C0 3F  00 00 20 40  00 00 60 40  00 00 FA 45"
        "  07 00 00 00  09 00 00 00  00 00 C0 40  00 40 1C 45  00 00 61 44");
    EXPECT_EQ(testbank::writeHprPackage(bank).index, golden);

    testbank::PackageOnDisk<HalvorenEngineV2::SourceStorePackager> disk("hpr_golden_header");
    testbank::writeFile(disk.folder / "HVC", "");
    const auto& h = disk.openIndex(golden).header();
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_EQ(h.hopSize, 128);
    EXPECT_EQ(h.sampleRate, 22050.0f);
    EXPECT_EQ(h.param3, 1.5f);
    EXPECT_EQ(h.param4, 2.5f);
    EXPECT_EQ(h.param5, 3.5f);
    EXPECT_EQ(h.maxHarmonicFreq, 8000.0f);
    EXPECT_EQ(h.phaseSetting, 7);
    EXPECT_EQ(h.param8, 9);
    EXPECT_EQ(h.powerAmount, 6.0f);
    EXPECT_EQ(h.powerCentre, 2500.0f);
    EXPECT_EQ(h.powerWidth, 900.0f);
}

}  // namespace
