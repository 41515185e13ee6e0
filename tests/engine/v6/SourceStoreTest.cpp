#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/v6/SourceStore_pkg.h"
#include "support/bank/PackageOnDisk.h"
#include "support/bank/SingingBankV6.h"

namespace {

using HalvorenEngineV6::ISourceStore;
using HalvorenEngineV6::SourceStore_pkg;

struct StoreOnDisk : testbank::PackageOnDisk<SourceStore_pkg> {
    StoreOnDisk(const std::string& tag, const testbank::SingingBankV6& bank) : PackageOnDisk(tag)
    {
        open(testbank::writeSingingBankV6(bank));
    }
    ISourceStore& store() { return *package; }
};

// The phrase bank with the header values the slots read back.
testbank::SingingBankV6 headerBank(std::int32_t minor)
{
    testbank::SingingBankV6 bank = testbank::phraseBankV6(minor, 200);
    bank.header.sampleRate = 32000.0f;
    bank.times = {1000, 850, 1250};
    bank.tailFloats = {0.75f, 0.125f, -3.5f};
    bank.layoutBands = 48;
    bank.bandEdges = {300.0f, 900.0f, 2700.0f, 8100.0f};
    bank.gridCount = 200;
    return bank;
}

TEST(SourceStoreV6, HeaderSlotsReadBackInEveryFormat)
{
    for (std::int32_t minor : {0, 1, 2}) {
        StoreOnDisk disk("store6_header", headerBank(minor));
        ISourceStore& s = disk.store();
        const std::string where = "6." + std::to_string(minor);
        EXPECT_TRUE(disk.package->isUsable()) << where;
        EXPECT_EQ(disk.log.str(), "") << where;
        EXPECT_EQ(s.getVersionMajor(), 6) << where;
        EXPECT_EQ(s.getVersionMinor(), minor) << where;
        EXPECT_EQ(s.getHopSize(), 200) << where;
        EXPECT_EQ(s.getSampleRate(), 32000.0f) << where;
        EXPECT_EQ(s.getLanguage(), "ka,k,a;ma,m,a|m||a,a|br1") << where;
        std::int32_t neutral = 0, upper = 0, lower = 0;
        s.getGenderRatios(neutral, upper, lower);
        // Thousandths: 1.0, 0.85 and 1.25.
        EXPECT_EQ(neutral, 1000) << where;
        EXPECT_EQ(upper, 850) << where;
        EXPECT_EQ(lower, 1250) << where;
        EXPECT_EQ(s.getHarmLevel(), 0.75f) << where;
        EXPECT_EQ(s.getNoiseRatio(), 0.125f) << where;
        EXPECT_EQ(s.getParam28(), -3.5f) << where;
        EXPECT_EQ(s.getLayoutBandCount(), 48) << where;
        EXPECT_EQ(s.getBandEdges(), (std::vector<float>{300.0f, 900.0f, 2700.0f, 8100.0f})) << where;
        EXPECT_EQ(s.getGridCount(), 200) << where;
    }
}

TEST(SourceStoreV6, TimbreSlotsHandOutTheTableAndEmptyNamesOutsideIt)
{
    struct Case {
        const char* groups;
        std::int32_t count;
    } cases[] = {{"", 0}, {"G3/B3/B3/C4/E4/E4", 2}};
    for (const Case& c : cases) {
        testbank::SingingBankV6 bank = testbank::phraseBankV6(1);
        bank.groupList = c.groups;
        StoreOnDisk disk("store6_timbre", bank);
        ISourceStore& s = disk.store();
        ASSERT_EQ(s.getTimbreCount(), c.count) << c.groups;
        for (std::int32_t index : {-1, c.count}) {
            std::string low = "x", middle = "x", high = "x";
            s.getTimbrePitchNames(index, low, middle, high);
            EXPECT_EQ(low + middle + high, "") << c.groups << " at " << index;
        }
    }
    testbank::SingingBankV6 bank = testbank::phraseBankV6(1);
    bank.groupList = "G3/B3/B3/C4/E4/E4";
    StoreOnDisk disk("store6_timbre_names", bank);
    std::string low, middle, high;
    disk.store().getTimbrePitchNames(1, low, middle, high);
    EXPECT_EQ(low + "/" + middle + "/" + high, "C4/E4/E4");
}

TEST(SourceStoreV6, RecordsComeOnlyAtTheirOwnSemitone)
{
    testbank::SingingBankV6 bank = testbank::phraseBankV6(1);
    bank.voices[1].pitch = "A#4";  // "ma"
    bank.continuants[0].pitch = "A#4";  // "a_k"
    StoreOnDisk disk("store6_pitch", bank);
    ISourceStore& s = disk.store();

    // Bb4 names A#4's semitone; A4 and B4 lie beside it.
    EXPECT_EQ(s.getRecordKey("ma", "A4"), "A#4");
    const auto voice = s.getVoiceSrc("ma", "Bb4");
    ASSERT_NE(voice, nullptr);
    ASSERT_NE(voice->material, nullptr);
    EXPECT_EQ(voice->v6Param2, bank.voices[1].values[1]);
    EXPECT_EQ(voice->material->modelSize, 512);
    EXPECT_EQ(voice->material->floats1.numSamples(), bank.voices[1].frames.size());
    EXPECT_EQ(s.getVoiceSrc("ma", "B4"), nullptr);
    EXPECT_EQ(s.getVoiceSrc("ma", "A4"), nullptr);
    EXPECT_EQ(s.getSrcParameter("ma", "B4"), nullptr);
    ASSERT_NE(s.getSrcParameter("ma", "A#4"), nullptr);
    ASSERT_NE(s.getContinuantSrc("a_k", "Bb4"), nullptr);
    EXPECT_EQ(s.getContinuantSrc("a_k", "C4"), nullptr);
    const auto continuant = s.getSrcContinuantParameter("a_m", "C4");
    ASSERT_NE(continuant, nullptr);
    EXPECT_EQ(continuant->v6ContParam2, bank.continuants[1].values[1]);
    EXPECT_EQ(s.getVoiceSrc("zz", "C4"), nullptr);
    EXPECT_EQ(disk.log.str(), "");
}

TEST(SourceStoreV6, ScrambledAndPlainFormatsGiveTheSameRecords)
{
    StoreOnDisk v60("store6_v60", testbank::phraseBankV6(0));
    StoreOnDisk v61("store6_v61", testbank::phraseBankV6(1));
    StoreOnDisk v62("store6_v62", testbank::phraseBankV6(2));
    std::vector<std::string> names60, names61, names62;
    v60.store().listUnitNames(names60);
    v61.store().listUnitNames(names61);
    v62.store().listUnitNames(names62);
    // Seven units, one pitch each, in name order.
    EXPECT_EQ(names61, (std::vector<std::string>{"a_C4/", "a_a_C4/", "a_k_C4/", "a_m_C4/", "br1_C4/", "ka_C4/",
                                                 "ma_C4/"}));
    EXPECT_EQ(names60, names61);
    EXPECT_EQ(names62, names61);
    for (const char* unit : {"ka", "ma", "a", "br1"}) {
        const auto a = v60.store().getVoiceSrc(unit, "C4");
        const auto b = v61.store().getVoiceSrc(unit, "C4");
        const auto c = v62.store().getVoiceSrc(unit, "C4");
        ASSERT_TRUE(a && b && c) << unit;
        for (const auto* r : {a.get(), c.get()}) {
            EXPECT_EQ(r->v6Param1, b->v6Param1) << unit;
            EXPECT_EQ(r->v6Param4, b->v6Param4) << unit;
            EXPECT_EQ(r->v6Param5, b->v6Param5) << unit;
            EXPECT_EQ(r->material->mags3.data.numSamples(), b->material->mags3.data.numSamples()) << unit;
            EXPECT_EQ(r->material->ints1.numSamples(), b->material->ints1.numSamples()) << unit;
        }
    }
    EXPECT_EQ(v60.log.str() + v61.log.str() + v62.log.str(), "");
}

TEST(SourceStoreV6, PhraseBankUnitsReadBackAsDescribedAtEveryHop)
{
    struct Case {
        std::int32_t hop;
        std::array<std::int32_t, 5> marks;
    } cases[] = {
        // 0.06 s = 10.34 frames of 256, 0.25 s = 43.07, 0.12 s = 20.67:
        // consonant start 0, head at 10, body at 20, tail at 63, 21 long.
        {256, {0, 10, 20, 63, 21}},
        // Of 128: 20.67, 86.13 and 41.34 frames.
        {128, {0, 21, 42, 128, 41}},
    };
    for (const Case& c : cases) {
        StoreOnDisk disk("store6_phrase", testbank::phraseBankV6(1, c.hop));
        const auto ka = disk.store().getVoiceSrc("ka", "C4");
        ASSERT_NE(ka, nullptr) << c.hop;
        EXPECT_EQ((std::array<std::int32_t, 5>{ka->v6Param1, ka->v6Param2, ka->v6Param3, ka->v6Param4,
                                               ka->v6Param5}),
                  c.marks)
            << c.hop;
        const HalvorenEngineV6::SrcMaterial& m = *ka->material;
        const int frames = c.marks[3] + c.marks[4];
        ASSERT_EQ(m.floats1.numSamples(), std::uint32_t(frames)) << c.hop;
        EXPECT_EQ(m.ints1.numSamples(), std::uint32_t(frames)) << c.hop;
        EXPECT_EQ(m.mags3.frameCount, frames) << c.hop;
        // The "k" is noise alone: f0 0, no harmonics, 60 layout bands and 5
        // noise-bank levels.
        Halvoren::FrameMags frame;
        EXPECT_EQ(m.floats1[0], 0.0f) << c.hop;
        m.mags3.getFrame(0, frame);
        EXPECT_TRUE(frame.isEmpty()) << c.hop;
        m.mags1.getFrame(0, frame);
        EXPECT_EQ(frame.numSamples(), 60u) << c.hop;
        m.mags4.getFrame(0, frame);
        EXPECT_EQ(frame.numSamples(), 5u) << c.hop;
        // The vowel: C4, harmonics below 22050 Hz (84 of 261.63 Hz), one
        // zero phase offset each.
        const int body = c.marks[2];
        EXPECT_NEAR(m.floats1[std::size_t(body)], 261.63f, 0.01f) << c.hop;
        m.mags3.getFrame(body, frame);
        EXPECT_EQ(frame.numSamples(), 84u) << c.hop;
        m.mags2.getFrame(body, frame);
        EXPECT_EQ(std::vector<float>(frame.ptrBegin(), frame.ptrBegin() + frame.numSamples()),
                  std::vector<float>(84, 0.0f))
            << c.hop;
    }
}

TEST(SourceStoreV6, RefusesWhatTheEngineCannotRenderWithOneMessage)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        std::int32_t hop;
        float rate;
        std::int32_t layoutBands;
        std::int32_t gridCount;
        bool edges;
        bool usable;
    } cases[] = {
        {"smallest", 1, 8000.0f, 35, 1, true, true},
        {"largest", 256, 96000.0f, 4096, 65536, true, true},
        {"hop 0", 0, 44100.0f, 60, 400, true, false},
        {"hop 300", 300, 44100.0f, 60, 400, true, false},
        {"hop -256", -256, 44100.0f, 60, 400, true, false},
        {"rate 0", 256, 0.0f, 60, 400, true, false},
        {"rate -44100", 256, -44100.0f, 60, 400, true, false},
        {"rate NaN", 256, nan, 60, 400, true, false},
        {"rate inf", 256, inf, 60, 400, true, false},
        {"34 layout bands", 256, 44100.0f, 34, 400, true, false},
        {"grid 0", 256, 44100.0f, 60, 0, true, false},
        {"grid 65537", 256, 44100.0f, 60, 65537, true, false},
        {"no band edges", 256, 44100.0f, 60, 400, false, false},
        {"everything wrong", 0, 0.0f, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        testbank::SingingBankV6 bank = testbank::phraseBankV6(1, 128);
        bank.header.hopSize = c.hop;
        bank.header.sampleRate = c.rate;
        bank.layoutBands = c.layoutBands;
        bank.gridCount = c.gridCount;
        if (!c.edges)
            bank.bandEdges.clear();
        StoreOnDisk disk("store6_refuse", bank);
        EXPECT_EQ(disk.package->isUsable(), c.usable) << c.what;
        EXPECT_EQ(testbank::packageMessages(disk.log.str()), c.usable ? 0 : 1) << c.what;
        // The slots still answer as stored.
        EXPECT_EQ(disk.store().getHopSize(), c.hop) << c.what;
    }
}

TEST(SourceStoreV6, DamagedOrMissingIndexSaysSoOnce)
{
    const std::string index = testbank::writeSingingBankV6(testbank::phraseBankV6(1)).index;
    testbank::PackageOnDisk<SourceStore_pkg> disk("store6_damaged");
    // Cut inside the header; then no index at all.
    disk.openIndex(index.substr(0, 20));
    EXPECT_FALSE(disk.package->isUsable());
    EXPECT_EQ(testbank::packageMessages(disk.log.str()), 1);
    std::filesystem::remove(disk.folder / "HVI");
    disk.reopen();
    EXPECT_FALSE(disk.package->isUsable());
    EXPECT_EQ(testbank::packageMessages(disk.log.str()), 1);
}

}  // namespace
