#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "voicebank/v1/SourceRecords.h"
#include "voicebank/v2/SourceRecords.h"
#include "voicebank/v3/SourceRecords.h"
#include "voicebank/v4/SourceRecords.h"

namespace {

TEST(SourceRecords, ConstructedRecordsHoldTheirNamesAndStartingValues)
{
    const HalvorenEngineV2::SrcParameter v2("la", "C4");
    EXPECT_EQ(v2.name, "la");
    EXPECT_EQ(v2.pitch, "C4");
    EXPECT_EQ(v2.beginPos, 0);
    EXPECT_EQ(v2.param13, 0.0f);
    EXPECT_EQ(v2.ratio1, 0.5f);
    EXPECT_EQ(v2.ratio2, 0.5f);
    EXPECT_EQ(v2.ratio3, 0.5f);

    const HalvorenEngineV3::SrcParameter v3("la", "C4");
    EXPECT_EQ(v3.param6, 0);
    EXPECT_EQ(v3.ratio3, 0.5f);

    const HalvorenEngineV4::SrcParameter v4("la", "C4");
    EXPECT_EQ(v4.v4Param6, 0);
    EXPECT_EQ(v4.v4Param7, -1);
    EXPECT_EQ(v4.v4Param8, -1);
    EXPECT_EQ(v4.v4Param9, 0);
    const HalvorenEngineV4::SrcContinuantParameter c4("a_l", "C4");
    EXPECT_EQ(c4.v4ContParam3, -1);
    EXPECT_EQ(c4.v4ContParam4, 0);

    const HalvorenEngineV3::SrcMaterial material("la", "C4");
    EXPECT_EQ(material.sampleRate, 44100.0f);
    EXPECT_EQ(material.ext1.step, 0.0f);
    EXPECT_EQ(material.ext1.stride, 0);
    EXPECT_EQ(material.ext1.rows, 0);
    EXPECT_TRUE(material.ext1.values.empty());
    EXPECT_EQ(material.ext1.columnCounter, -1);
}

TEST(SourceRecords, AssignValuesCopiesTheNumbersButNotTheNames)
{
    HalvorenEngineV2::SrcParameter from("ba", "E4");
    from.beginPos = 3;
    from.param11 = 256;
    from.ratio2 = 0.25f;
    HalvorenEngineV2::SrcParameter to("la", "C4");
    to.assignValues(from);
    EXPECT_EQ(to.name, "la");
    EXPECT_EQ(to.pitch, "C4");
    EXPECT_EQ(to.beginPos, 3);
    EXPECT_EQ(to.param11, 256);
    EXPECT_EQ(to.ratio1, 0.5f);
    EXPECT_EQ(to.ratio2, 0.25f);
}

// Run under the sanitizers: every record frees what it owns, with or without
// material, through a pointer to its parameter part.
TEST(SourceRecords, RecordsWithOrWithoutMaterialFreeCleanly)
{
    std::unique_ptr<Halvoren::SrcParameter> v1 = std::make_unique<Halvoren::VoiceSrc>("la", "C4");
    std::unique_ptr<HalvorenEngineV2::SrcContinuantParameter> v2 =
        std::make_unique<HalvorenEngineV2::ContinuantSrc>("a_l", "C4");
    auto v3 = std::make_unique<HalvorenEngineV3::VoiceSrc>("la", "C4");
    v3->material = std::make_unique<HalvorenEngineV3::SrcMaterial>("la", "C4");
    v3->material->ext1.values = {1.0f, 2.0f, 3.0f};
    std::unique_ptr<HalvorenEngineV3::SrcParameter> asParameter = std::move(v3);
    auto v4 = std::make_unique<HalvorenEngineV4::ContinuantSrc>("a_l", "C4");
    v4->material = std::make_unique<HalvorenEngineV4::SrcMaterial>("a_l", "C4");
    auto synth = std::make_unique<HalvorenEngineV2::SynthetiseSource>("la.b.c.C4", "C4");
    synth->residual.putSamples(512);
    EXPECT_EQ(synth->ratio1, 0.5f);
    std::unique_ptr<Halvoren::HPR_model> asModel = std::move(synth);
    auto material = std::make_unique<Halvoren::SrcMaterial>("la", "C4");
    std::unique_ptr<Halvoren::HPR_model> materialAsModel = std::move(material);
}

TEST(SourceRecords, PosAtRatioWorksInDoubleAndClamps)
{
    struct Case {
        std::int32_t begin, end;
        float ratio;
        std::int32_t expected;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        // 0.7f is 0.699999988: 10 * 0.699999988 = 6.99999988 in double, so 6
        // (a float product would round to 7.0).
        {0, 10, 0.7f, 6},
        {100, 200, 0.5f, 150},
        {10, 0, 0.25f, 7},     // 10 - 2.5 = 7.5, toward zero
        {-10, 0, 0.25f, -7},   // -10 + 2.5 = -7.5, toward zero
        {0, 10, nan, 0},       // NaN keeps beginPos
        {5, 10, nan, 5},
        {0, 2147483647, 4.0f, 2147483647},                    // past INT32_MAX clamps
        {-2147483647 - 1, 2147483647, -1.0f, -2147483647 - 1},  // below INT32_MIN clamps
    };
    for (const Case& c : cases) {
        HalvorenEngineV3::SrcParameter p("la", "C4");
        p.beginPos = c.begin;
        p.endPos = c.end;
        p.ratio1 = c.ratio;
        EXPECT_EQ(p.posAtRatio(), c.expected) << c.begin << " " << c.end << " " << c.ratio;
    }
}

}  // namespace
