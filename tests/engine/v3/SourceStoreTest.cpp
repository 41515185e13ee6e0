#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

#include "engine/v3/SourceStore_pkg.h"
#include "support/bank/PackageOnDisk.h"

namespace {

using HalvorenEngineV3::ISourceStore;
using HalvorenEngineV3::SourceStore_pkg;

std::array<std::int32_t, 16> voiceValues(std::int32_t first)
{
    std::array<std::int32_t, 16> v{};
    for (int i = 0; i < 16; ++i)
        v[i] = first + i;
    return v;
}

std::string material()
{
    testbank::PlainFrame frame;
    frame.harmonicsDb = {-6.0f, -12.0f, -18.0f};
    return testbank::ghrModelBytes({frame, frame});
}

// Every header value distinct; "la" recorded at A#4 and C4, a continuant
// "a" at C4.
testbank::BankDescription distinctBank()
{
    testbank::BankDescription bank;
    bank.ext1 = true;
    bank.header = {128, 22050.0f, 3.5f, 4.5f, 5.5f, 16000.0f, 20, 8, 6.0f, 3000.0f, 1000.0f};
    bank.strings = {"first", "second", "JPN"};
    bank.variants.push_back({"la", "A#4", 0, testbank::v3VoiceRecord(voiceValues(100), material())});
    bank.variants.push_back({"la", "C4", 0, testbank::v3VoiceRecord(voiceValues(200), material())});
    bank.variants.push_back({"a", "C4", 0, testbank::v3ContinuantRecord(3, 9, 128, material())});
    return bank;
}

struct StoreOnDisk : testbank::PackageOnDisk<SourceStore_pkg> {
    explicit StoreOnDisk(const std::string& tag, const testbank::BankDescription& bank)
        : PackageOnDisk(tag)
    {
        open(testbank::writePackage(bank));
    }
    ISourceStore& store() { return *package; }
};

TEST(SourceStore, HeaderValuesStringsAndExt1ComeBackInSlotOrder)
{
    StoreOnDisk disk("store_slots", distinctBank());
    ISourceStore& s = disk.store();
    EXPECT_TRUE(disk.package->isUsable());
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_EQ(s.getHopSize(), 128);
    EXPECT_EQ(s.getSampleRate(), 22050.0f);
    EXPECT_EQ(s.getParam3(), 3.5f);
    EXPECT_EQ(s.getParam4(), 4.5f);
    EXPECT_EQ(s.getParam5(), 5.5f);
    EXPECT_EQ(s.getMaxHarmonicFreq(), 16000.0f);
    EXPECT_EQ(s.getPhaseSetting(), 20);
    EXPECT_EQ(s.getParam8(), 8);
    EXPECT_EQ(s.getPowerAmount(), 6.0f);
    EXPECT_EQ(s.getPowerCentre(), 3000.0f);
    EXPECT_EQ(s.getPowerWidth(), 1000.0f);
    EXPECT_EQ(s.getString1(), "first");
    EXPECT_EQ(s.getString2(), "second");
    EXPECT_EQ(s.getLanguage(), "JPN");
    EXPECT_TRUE(s.hasExt1());
}

TEST(SourceStore, WithoutTimbreBlockFourDefaultTimbresAndRatios)
{
    StoreOnDisk disk("store_timbres", distinctBank());
    ISourceStore& s = disk.store();
    ASSERT_EQ(s.getTimbreCount(), 4);
    const char* expected[4][3] = {{"G3", "B3", "B3"}, {"C4", "E4", "E4"}, {"F4", "A4", "A4"}, {"Bb4", "C5", "C5"}};
    for (int i = 0; i < 4; ++i) {
        std::string low = "x", middle = "x", high = "x";
        s.getTimbrePitchNames(i, low, middle, high);
        EXPECT_EQ(low, expected[i][0]) << i;
        EXPECT_EQ(middle, expected[i][1]) << i;
        EXPECT_EQ(high, expected[i][2]) << i;
    }
    for (int outside : {-1, 4}) {
        std::string low = "x", middle = "x", high = "x";
        s.getTimbrePitchNames(outside, low, middle, high);
        EXPECT_EQ(low + middle + high, "") << outside;
    }
    std::int32_t neutral = 0, upper = 0, lower = 0;
    s.getGenderRatios(neutral, upper, lower);
    EXPECT_EQ(neutral, 1000);
    EXPECT_EQ(upper, 850);
    EXPECT_EQ(lower, 1250);
}

TEST(SourceStore, RecordsAreServedOnlyAtTheirOwnPitch)
{
    StoreOnDisk disk("store_pitch", distinctBank());
    ISourceStore& s = disk.store();
    // Stored as A#4: Bb4 is the same key, B4 is a semitone above it.
    EXPECT_EQ(s.getRecordKey("la", "B4"), "A#4");
    EXPECT_EQ(s.getRecordKey("la", "C#4"), "C4");
    const auto atBb4 = s.getVoiceSrc("la", "Bb4");
    ASSERT_NE(atBb4, nullptr);
    EXPECT_EQ(atBb4->beginPos, 100);
    ASSERT_NE(atBb4->material, nullptr);
    EXPECT_EQ(atBb4->material->peaks.frameCount, 2);
    EXPECT_EQ(s.getVoiceSrc("la", "B4"), nullptr);
    const auto parameter = s.getSrcParameter("la", "C4");
    ASSERT_NE(parameter, nullptr);
    EXPECT_EQ(parameter->beginPos, 200);
    EXPECT_EQ(s.getSrcParameter("la", "C#4"), nullptr);

    const auto continuant = s.getContinuantSrc("a", "C4");
    ASSERT_NE(continuant, nullptr);
    EXPECT_EQ(continuant->param1, 3);
    EXPECT_EQ(continuant->param2, 9);
    const auto continuantParameter = s.getSrcContinuantParameter("a", "C4");
    ASSERT_NE(continuantParameter, nullptr);
    EXPECT_EQ(continuantParameter->param2, 9);

    EXPECT_EQ(s.getRecordKey("zz", "C4"), "");
    EXPECT_EQ(s.getVoiceSrc("zz", "C4"), nullptr);
    EXPECT_EQ(s.getSrcParameter("zz", "C4"), nullptr);
    EXPECT_EQ(s.getContinuantSrc("zz", "C4"), nullptr);
    EXPECT_EQ(s.getSrcContinuantParameter("zz", "C4"), nullptr);
    int something = 0;
    EXPECT_EQ(s.getNothing(&something), nullptr);
    EXPECT_EQ(s.getNothing(nullptr), nullptr);
    EXPECT_EQ(disk.log.str(), "");
}

TEST(SourceStore, TwoThreadsLoadingAtOnceGetEqualRecords)
{
    StoreOnDisk disk("store_threads", distinctBank());
    ISourceStore& s = disk.store();
    auto load = [&s](std::vector<std::int32_t>& seen) {
        for (int i = 0; i < 40; ++i) {
            const auto voice = s.getVoiceSrc("la", i % 2 == 0 ? "A#4" : "C4");
            seen.push_back(voice != nullptr && voice->material != nullptr
                               ? voice->param6 * 100 + voice->material->peaks.frameCount
                               : -1);
        }
    };
    std::vector<std::int32_t> a, b;
    std::thread other(load, std::ref(b));
    load(a);
    other.join();
    // param6 is the sixth value in memory order: 105 for A#4, 205 for C4;
    // two frames each.
    for (int i = 0; i < 40; ++i) {
        const std::int32_t expected = i % 2 == 0 ? 10502 : 20502;
        EXPECT_EQ(a[i], expected) << i;
        EXPECT_EQ(b[i], expected) << i;
    }
}

TEST(SourceStore, RefusesUnusableHopOrRateWithOneIndexMessage)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        std::int32_t hop;
        float rate;
        bool usable;
    } cases[] = {{1, 44100.0f, true},   {256, 44100.0f, true}, {0, 44100.0f, false}, {-5, 44100.0f, false},
                 {257, 44100.0f, false}, {128, 0.0f, false},    {128, -44100.0f, false}, {128, nan, false},
                 {128, inf, false}};
    for (const Case& c : cases) {
        testbank::BankDescription bank = distinctBank();
        bank.header.hopSize = c.hop;
        bank.header.sampleRate = c.rate;
        StoreOnDisk disk("store_refuse", bank);
        const std::string where = std::to_string(c.hop) + " @ " + std::to_string(c.rate);
        EXPECT_EQ(disk.package->isUsable(), c.usable) << where;
        // The message and the store's fault name the index and what it refuses.
        const std::string fault = testbank::packageBasePath(disk.folder) + "HVI: hop " + std::to_string(c.hop) +
                                  " at " + std::to_string(c.rate) +
                                  " Hz: the engine sings a hop of 1..256 at a finite positive rate";
        EXPECT_EQ(disk.log.str(), c.usable ? "" : "fail to read package index file " + fault + "\n") << where;
        EXPECT_EQ(disk.package->bankFault(), c.usable ? "" : fault) << where;
        // The slots still answer as stored.
        EXPECT_EQ(disk.store().getHopSize(), c.hop) << where;
    }
}

TEST(SourceStore, UnreadableIndexIsReportedOnlyOnce)
{
    testbank::PackageOnDisk<SourceStore_pkg> disk("store_noindex");
    disk.openIndex("ext2");  // ends before the header
    EXPECT_FALSE(disk.package->isUsable());
    const std::string fault = testbank::packageBasePath(disk.folder) + "HVI: ends inside its header (4 bytes)";
    EXPECT_EQ(disk.log.str(), "fail to read package index file " + fault + "\n");
    EXPECT_EQ(disk.package->bankFault(), fault);
}

}  // namespace
