#include <gtest/gtest.h>

#include "engine/v4/FetchVoiceSrc.h"
#include "engine/v4/SourceStore_pkg.h"
#include "support/bank/PackageOnDisk.h"

namespace {

using HalvorenEngineV4::ISourceStore;
using HalvorenEngineV4::SourceStore_pkg;

std::string material()
{
    testbank::PlainFrame frame;
    frame.harmonicsDb = {-6.0f, -12.0f, -18.0f};
    return testbank::ghrModelBytes({frame, frame, frame});
}

// "la" recorded at A#4, a continuant "-" at C4; header strings in the
// fourth generation's wide form.
testbank::BankDescription v4Bank()
{
    testbank::BankDescription bank;
    bank.ext4 = true;
    bank.header.hopSize = 200;
    bank.header.sampleRate = 32000.0f;
    bank.strings = {"one", "two", "CHN"};
    bank.variants.push_back({"la", "A#4", 0, testbank::v4VoiceRecord({11, 12, 13, 14, 15, 16, 17, 18, 19}, material())});
    bank.variants.push_back({"-", "C4", 0, testbank::v4ContinuantRecord({21, 22, 23, 24}, material())});
    return bank;
}

struct StoreOnDisk : testbank::PackageOnDisk<SourceStore_pkg> {
    StoreOnDisk(const std::string& tag, const testbank::BankDescription& bank) : PackageOnDisk(tag)
    {
        open(testbank::writePackage(bank));
    }
    ISourceStore& store() { return *package; }
};

TEST(SourceStoreV4, ExtraLevelsDefaultWithoutTheirBlockAndComeBackWithIt)
{
    struct Case {
        bool ext3;
        std::array<float, 3> stored;
        std::array<float, 3> expected;
    } cases[] = {
        {false, {9.0f, 9.0f, 9.0f}, {0.5f, 1.2f, -20.0f}},
        {true, {0.25f, 2.0f, -7.5f}, {0.25f, 2.0f, -7.5f}},
    };
    for (const Case& c : cases) {
        testbank::BankDescription bank = v4Bank();
        bank.ext3 = c.ext3;
        bank.ext3Values = c.stored;
        StoreOnDisk disk("store4_ext3", bank);
        ISourceStore& s = disk.store();
        EXPECT_TRUE(disk.package->isUsable()) << c.ext3;
        EXPECT_EQ(s.getHarmLevel(), c.expected[0]) << c.ext3;
        EXPECT_EQ(s.getNoiseLevel(), c.expected[1]) << c.ext3;
        EXPECT_EQ(s.getTiltAtZero(), c.expected[2]) << c.ext3;
        EXPECT_EQ(s.getHopSize(), 200) << c.ext3;
        EXPECT_EQ(s.getSampleRate(), 32000.0f) << c.ext3;
        EXPECT_EQ(s.getString1(), "one") << c.ext3;
        EXPECT_EQ(s.getLanguage(), "CHN") << c.ext3;
    }
}

TEST(SourceStoreV4, RecordsAreServedOnlyAtTheirOwnPitch)
{
    StoreOnDisk disk("store4_pitch", v4Bank());
    ISourceStore& s = disk.store();
    // Stored as A#4: Bb4 names the same semitone, B4 the one above.
    const auto atBb4 = s.getVoiceSrc("la", "Bb4");
    ASSERT_NE(atBb4, nullptr);
    EXPECT_EQ(atBb4->v4Param1, 11);
    EXPECT_EQ(atBb4->v4Param9, 19);
    ASSERT_NE(atBb4->material, nullptr);
    EXPECT_EQ(atBb4->material->peaks.frameCount, 3);
    EXPECT_EQ(s.getVoiceSrc("la", "B4"), nullptr);
    EXPECT_EQ(s.getSrcParameter("la", "B4"), nullptr);
    const auto parameter = s.getSrcParameter("la", "A#4");
    ASSERT_NE(parameter, nullptr);
    EXPECT_EQ(parameter->v4Param5, 15);

    // Continuant values stored 1, 2, 4, 3 come back in field order.
    const auto continuant = s.getContinuantSrc("-", "C4");
    ASSERT_NE(continuant, nullptr);
    EXPECT_EQ(continuant->v4ContParam3, 23);
    EXPECT_EQ(continuant->v4ContParam4, 24);
    const auto continuantParameter = s.getSrcContinuantParameter("-", "B#3");
    ASSERT_NE(continuantParameter, nullptr);
    EXPECT_EQ(continuantParameter->v4ContParam2, 22);
    EXPECT_EQ(s.getContinuantSrc("-", "C#4"), nullptr);
    EXPECT_EQ(s.getNothing(nullptr), nullptr);
    EXPECT_EQ(disk.log.str(), "");
}

TEST(SourceStoreV4, DefaultWarpBoundsAndTimbres)
{
    StoreOnDisk disk("store4_timbre", v4Bank());
    ISourceStore& s = disk.store();
    std::int32_t neutral = 0, upper = 0, lower = 0;
    s.getGenderRatios(neutral, upper, lower);
    EXPECT_EQ(neutral, 1000);
    EXPECT_EQ(upper, 850);
    EXPECT_EQ(lower, 1250);
    ASSERT_EQ(s.getTimbreCount(), 4);
    std::string low = "x", middle = "x", high = "x";
    s.getTimbrePitchNames(4, low, middle, high);
    EXPECT_EQ(low + middle + high, "");
}

TEST(SourceStoreV4, RefusesUnusableHopOrRateLikeTheThirdGeneration)
{
    struct Case {
        std::int32_t hop;
        float rate;
        bool usable;
    } cases[] = {{256, 44100.0f, true}, {257, 44100.0f, false}, {0, 44100.0f, false}, {128, -1.0f, false}};
    for (const Case& c : cases) {
        testbank::BankDescription bank = v4Bank();
        bank.header.hopSize = c.hop;
        bank.header.sampleRate = c.rate;
        StoreOnDisk disk("store4_refuse", bank);
        const std::string where = std::to_string(c.hop) + " @ " + std::to_string(c.rate);
        EXPECT_EQ(disk.package->isUsable(), c.usable) << where;
        EXPECT_EQ(testbank::packageMessages(disk.log.str()), c.usable ? 0 : 1) << where;
    }
}

TEST(SourceStoreV4, FetchRetriesWithDashOnlyWhenAskedAndKeepsWhatItLoads)
{
    testbank::BankDescription bank = v4Bank();
    bank.variants.push_back({"-ma", "C4", 0, testbank::v4VoiceRecord({31, 0, 0, 0, 0, 0, 0, 0, 0}, material())});
    StoreOnDisk disk("store4_fetch", bank);
    HalvorenEngineV4::SrcCache cache;
    struct Case {
        const char* unit;
        const char* pitch;
        bool retry;
        std::int32_t firstValue;  // 0: no record
    } cases[] = {
        {"ma", "C4", true, 31},   // only "-ma" is held
        {"ma", "C4", false, 0},   // without the flag, one look only
        {"la", "A4", true, 11},   // held as "la": stored A#4 is nearest A4
        {"la", "A4", false, 11},
        {"zz", "C4", true, 0},
    };
    for (const Case& c : cases) {
        const HalvorenEngineV4::VoiceSrc* found =
            HalvorenEngineV4::fetchVoiceSrc(cache, disk.store(), c.unit, c.pitch, c.retry);
        const std::string where = std::string(c.unit) + " " + (c.retry ? "retry" : "once");
        if (c.firstValue == 0) {
            EXPECT_EQ(found, nullptr) << where;
            continue;
        }
        ASSERT_NE(found, nullptr) << where;
        EXPECT_EQ(found->v4Param1, c.firstValue) << where;
        EXPECT_EQ(HalvorenEngineV4::fetchVoiceSrc(cache, disk.store(), c.unit, c.pitch, c.retry), found) << where;
    }
}

}  // namespace
