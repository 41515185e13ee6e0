// The stores of the first two generations: records only at the pitch asked
// for, the bank values in their slots, and banks that cannot be rendered.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/v1/SourceStore_v1Pkg.h"
#include "engine/v2/SourceStore_pkg.h"
#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/HprBankWriter.h"

namespace {

std::int32_t bits(float v) { return testbank::floatBits(v); }

// A first-generation voice of one frame with a residual of two samples, at hop.
std::string voiceV1(std::int32_t hop)
{
    return testbank::hprVoiceRecord<12>(
        {0, 1, 2, 3, 1, bits(1.0f), 2, 1, bits(1.0f), hop, bits(0.0f), bits(0.0f)},
        testbank::peakListMaterial({{{220.0f}, {-20.0f}, {0.0f}}}, {1, -1}));
}

std::string continuantRecord(std::int32_t hop)
{
    return testbank::hprContinuantRecord(0, 1, hop, testbank::peakListMaterial({{{220.0f}, {-20.0f}, {0.0f}}}, {}));
}

testbank::PackageFiles bankV1(std::int32_t headerHop, float rate, std::int32_t recordHop)
{
    testbank::HprBankDescription bank;
    bank.header.hopSize = headerHop;
    bank.header.sampleRate = rate;
    bank.variants = {{"ma", "A3", 0, voiceV1(recordHop)},
                     {"ma", "C4", 0, voiceV1(recordHop)},
                     {"a_m", "A3", 0, continuantRecord(recordHop)}};
    return testbank::writeHprPackage(bank);
}

TEST(HprSourceStore, RecordsOnlyAtThePitchAsked)
{
    testbank::PackageOnDisk<Halvoren::SourceStore_v1Pkg> disk("v1_store_exact");
    disk.open(bankV1(256, 44100.0f, 256));
    Halvoren::SourceStore_v1Pkg& store = *disk.package;
    struct Case {
        const char* unit;
        const char* pitch;
        const char* key;  // slot 1
        bool voice;       // slots 2 and 3
    };
    const Case cases[] = {
        {"ma", "A3", "A3", true},
        {"ma", "C4", "C4", true},
        {"ma", "A#3", "A3", false},  // nearest is A3: not the pitch asked
        {"ma", "B3", "C4", false},
        {"la", "A3", "", false},     // unknown unit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " " + c.pitch);
        EXPECT_EQ(store.getRecordKey(c.unit, c.pitch), c.key);
        EXPECT_EQ(store.exactVoiceSrc(c.unit, c.pitch) != nullptr, c.voice);
        EXPECT_EQ(store.getSrcParameter(c.unit, c.pitch) != nullptr, c.voice);
    }
    const auto parameters = store.getSrcParameter("ma", "A3");
    ASSERT_TRUE(parameters);
    EXPECT_EQ(parameters->param4, 3);
    EXPECT_EQ(parameters->param9, 1);
    EXPECT_EQ(parameters->pitch, "A3");
    const auto continuant = store.getSrcContinuantParameter("a_m", "A3");
    ASSERT_TRUE(continuant);
    EXPECT_EQ(continuant->param2, 1);
    EXPECT_TRUE(store.exactContinuantSrc("a_m", "A3"));
    EXPECT_FALSE(store.exactContinuantSrc("a_m", "G3"));
    EXPECT_TRUE(store.isUsable());
    EXPECT_EQ(disk.log.str(), "");
}

TEST(HprSourceStore, RecordWithAnotherHopIsAbsent)
{
    testbank::PackageOnDisk<Halvoren::SourceStore_v1Pkg> disk("v1_store_hop");
    disk.open(bankV1(256, 44100.0f, 128));
    EXPECT_EQ(disk.package->getRecordKey("ma", "A3"), "A3");
    EXPECT_FALSE(disk.package->exactVoiceSrc("ma", "A3"));
    EXPECT_FALSE(disk.package->getSrcParameter("ma", "A3"));
    EXPECT_FALSE(disk.package->exactContinuantSrc("a_m", "A3"));
}

TEST(HprSourceStore, BankValuesUnusableForRenderingSayItOnce)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        int generation;
        std::int32_t hop;
        float rate;
        bool usable;
    };
    // Frames of 4096 (generation 1) and 512 (generation 2) take hops up to half.
    const Case cases[] = {
        {1, 2048, 44100.0f, true}, {1, 2049, 44100.0f, false}, {1, 1, 8000.0f, true},
        {1, 0, 44100.0f, false},   {1, -256, 44100.0f, false}, {1, 256, 0.0f, false},
        {1, 256, nan, false},      {1, 256, -44100.0f, false}, {2, 256, 44100.0f, true},
        {2, 257, 44100.0f, false}, {2, 128, inf, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "generation " << c.generation << " hop " << c.hop << " rate " << c.rate);
        testbank::HprBankDescription bank;
        bank.generation = c.generation;
        bank.header.hopSize = c.hop;
        bank.header.sampleRate = c.rate;
        bool usable = false;
        std::string log;
        auto read = [&](auto&& disk) {
            disk.open(testbank::writeHprPackage(bank));
            usable = disk.package->isUsable();
            log = disk.log.str();
        };
        if (c.generation == 1)
            read(testbank::PackageOnDisk<Halvoren::SourceStore_v1Pkg>("v1_store_bad"));
        else
            read(testbank::PackageOnDisk<HalvorenEngineV2::SourceStore_pkg>("v2_store_bad"));
        EXPECT_EQ(usable, c.usable);
        EXPECT_EQ(testbank::packageMessages(log), c.usable ? 0 : 1) << log;
        if (!c.usable) {
            EXPECT_NE(log.find("fail to read package index file"), std::string::npos) << log;
        }
    }
}

TEST(HprSourceStore, SecondGenerationHeaderInSlotsSixToSixteen)
{
    testbank::HprBankDescription bank;
    bank.generation = 2;
    bank.header = {128, 22050.0f, -26.0f, -0.0002f, 70.0f, 15000.0f, 18, 7, 6.0f, 3000.0f, 1000.0f};
    testbank::PackageOnDisk<HalvorenEngineV2::SourceStore_pkg> disk("v2_store_header");
    disk.open(testbank::writeHprPackage(bank));
    const HalvorenEngineV2::SourceStore_pkg& s = *disk.package;
    EXPECT_EQ(s.getHopSize(), 128);           // 6
    EXPECT_EQ(s.getSampleRate(), 22050.0f);   // 7
    EXPECT_EQ(s.getTiltOffset(), -26.0f);     // 8: a0
    EXPECT_EQ(s.getTiltRate(), -0.0002f);     // 9: a2
    EXPECT_EQ(s.getTiltAmplitude(), 70.0f);   // 10: a1
    EXPECT_EQ(s.getMaxHarmonicFreq(), 15000.0f);
    EXPECT_EQ(s.getPhaseSetting(), 18);
    EXPECT_EQ(s.getParam8(), 7);
    EXPECT_EQ(s.getBoostGain(), 6.0f);        // 14
    EXPECT_EQ(s.getBoostCentre(), 3000.0f);
    EXPECT_EQ(s.getBoostWidth(), 1000.0f);    // 16
}

}  // namespace
