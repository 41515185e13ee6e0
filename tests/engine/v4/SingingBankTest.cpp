#include <gtest/gtest.h>

#include "engine/v4/SourceStore_pkg.h"
#include "support/bank/PackageOnDisk.h"
#include "support/bank/SingingBank.h"

namespace {

using HalvorenEngineV4::SourceStore_pkg;

TEST(SingingBankV4, TheFourthGenerationStoreReadsEveryUnitBack)
{
    testbank::PackageOnDisk<SourceStore_pkg> disk("singing4");
    const testbank::SingingBank bank = testbank::cvvcBankV4(128);
    disk.open(testbank::writeSingingBank(bank));
    SourceStore_pkg& s = *disk.package;
    EXPECT_TRUE(s.isUsable());
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_TRUE(s.hasExt1());
    EXPECT_EQ(s.getHopSize(), 128);
    EXPECT_EQ(s.getLanguage(), "CHN");
    EXPECT_EQ(s.getHarmLevel(), 0.5f);
    EXPECT_EQ(s.getNoiseLevel(), 1.2f);
    EXPECT_EQ(s.getTiltAtZero(), -20.0f);

    // A syllable: onset 10, middle 10, steady 40, end 20 frames, so the
    // spans end at 10, 20, 60 and the release is 20 long; 80 frames.
    struct Voice {
        const char* unit;
        const char* pitch;
    } voices[] = {{"ma", "C4"}, {"la", "C4"}, {"sa", "C4"}, {"a", "C4"}, {"a", "G4"}, {"br1", "C4"}};
    for (const Voice& v : voices) {
        const std::string where = std::string(v.unit) + "@" + v.pitch;
        const auto r = s.getVoiceSrc(v.unit, v.pitch);
        ASSERT_NE(r, nullptr) << where;
        EXPECT_EQ(r->v4Param1, 0) << where;
        EXPECT_EQ(r->v4Param2, 10) << where;
        EXPECT_EQ(r->v4Param3, 20) << where;
        EXPECT_EQ(r->v4Param4, 60) << where;
        EXPECT_EQ(r->v4Param5, 20) << where;
        EXPECT_EQ(r->v4Param7, -1) << where;
        ASSERT_NE(r->material, nullptr) << where;
        EXPECT_EQ(r->material->peaks.frameCount, 80) << where;
        EXPECT_EQ(r->material->ext1.rows, 2) << where;
        EXPECT_EQ(r->material->ext1.stride, 4) << where;
    }
    // The cross timbre is its own recording: brighter, so its loudest
    // harmonic differs from the C4 one's.
    Halvoren::PeakList low, high;
    s.getVoiceSrc("a", "C4")->material->peaks.getFrame(30, low);
    s.getVoiceSrc("a", "G4")->material->peaks.getFrame(30, high);
    EXPECT_NE(low.mags, high.mags);

    // Continuants by one name: 10 vowel frames, then 10 of the consonant.
    for (const char* name : {"-", "l"}) {
        const auto c = s.getContinuantSrc(name, "C4");
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->v4ContParam1, 0) << name;
        EXPECT_EQ(c->v4ContParam2, 20) << name;
        ASSERT_NE(c->material, nullptr) << name;
        EXPECT_EQ(c->material->peaks.frameCount, 20) << name;
    }
    // The release into "-" is noise at its end; into "l" still voiced.
    Halvoren::PeakList lastDash, lastL;
    s.getContinuantSrc("-", "C4")->material->peaks.getFrame(19, lastDash);
    s.getContinuantSrc("l", "C4")->material->peaks.getFrame(19, lastL);
    EXPECT_TRUE(lastDash.empty());
    EXPECT_FALSE(lastL.empty());
}

}  // namespace
