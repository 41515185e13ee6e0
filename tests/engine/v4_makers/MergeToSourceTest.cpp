#include <gtest/gtest.h>

#include <cmath>

#include "engine/v3/CellParts.h"
#include "engine/v4/CellMakers.h"
#include "support/engine/MakerFixtures.h"

namespace {

using HalvorenEngineV4::CellMakerCore_FromStdModelAndSrcModel_merge2src;
using makertest::levelFrames;
using makertest::materialFrom;
using makertest::MakerBench;

// Merges model (anchor b, loop end e) into source from s0: n frames over
// length from position from, fading over percentage; false when refused.
bool runMerge(MakerBench& bench, const makertest::SrcMaterial& model, int b, int e, const makertest::SrcMaterial& source,
              int s0, int from, int length, int n, float percentage)
{
    CellMakerCore_FromStdModelAndSrcModel_merge2src maker(model, b, e, source, s0);
    maker.init(bench.state.makerSetting());
    if (!maker.setUp(from, length, n, 0, 0, percentage))
        return false;
    auto at = bench.cursor();
    HalvorenEngineV3::emitPieceFrames(bench.state, maker, n, at);
    return true;
}

// The model's harmonics at -20 dB, the recording's at -40 dB, their bands
// alike: frame i reads w * -20 + (1 - w) * -40 = -40 + 20 w.
TEST(MergeToSourceV4, FadesFromTheModelIntoTheRecordingOverThePercentage)
{
    struct Case {
        float percentage;
        std::vector<float> w;
    } cases[] = {
        {50.0f, {1.0f, 0.8f, 0.6f, 0.4f, 0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}},
        {60.0f, {1.0f, 5.0f / 6, 4.0f / 6, 3.0f / 6, 2.0f / 6, 1.0f / 6, 0.0f, 0.0f, 0.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        MakerBench bench;
        bench.prepare();
        auto model = materialFrom(levelFrames(20, -20.0f));
        auto source = materialFrom(levelFrames(10, -40.0f));
        ASSERT_TRUE(runMerge(bench, *model, 4, 8, *source, 0, 0, 10, 10, c.percentage));
        ASSERT_EQ(bench.frames().size(), 10u);
        for (std::size_t i = 0; i < 10; ++i)
            EXPECT_NEAR(bench.level(i), -40.0f + 20.0f * c.w[i], 1e-4) << c.percentage << "% frame " << i;
    }
}

// A recording with bands but no peaks leaves the bent model alone. Its
// envelope is the second store at b (0) plus the first store at the walked
// frame (-2 * frame) minus the second there (0).
TEST(MergeToSourceV4, WalksBetweenAnchorAndLoopEnd)
{
    MakerBench bench;
    bench.prepare();
    auto model = materialFrom(levelFrames(20, -20.0f, -30.0f, 2.0f));
    auto source = materialFrom(levelFrames(10, 0.0f, -30.0f, 1.0f, false));
    ASSERT_TRUE(runMerge(bench, *model, 5, 8, *source, 0, 0, 8, 8, 50.0f));  // e - b = 3
    const int walk[] = {0, 1, 2, 3, 2, 1, 0, 1};
    ASSERT_EQ(bench.frames().size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(bench.envelope(i), -2.0f * static_cast<float>(5 + walk[i])) << i;
        EXPECT_FLOAT_EQ(bench.level(i), -20.0f) << i;
    }
}

// Recording bands at -30 + d against a reference frame at -30: the model's
// harmonics move by d, whatever the weight.
TEST(MergeToSourceV4, BandDeltaShiftsPeakLevelsByItself)
{
    for (float d : {6.5f, -12.0f, 0.0f}) {
        MakerBench bench;
        bench.prepare();
        auto model = materialFrom(levelFrames(10, -20.0f));
        std::vector<testbank::PlainFrame> frames = levelFrames(4, 0.0f, -30.0f, 1.0f, false);
        for (std::size_t p = 1; p < frames.size(); ++p)
            frames[p].bands.assign(64, -30.0f + d);
        auto source = materialFrom(frames);
        ASSERT_TRUE(runMerge(bench, *model, 2, 2, *source, 0, 1, 3, 3, 50.0f));
        ASSERT_EQ(bench.frames().size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            const Halvoren::PeakList& peaks = bench.frames()[i]->peaks;
            ASSERT_FALSE(peaks.empty()) << d;
            for (float m : peaks.mags)
                ASSERT_NEAR(m, -20.0f + d, 1e-4) << d << " frame " << i;
            // The envelope of the second store moves with it.
            EXPECT_NEAR(bench.envelope(i), d - 2.0f, 1e-4) << d << " frame " << i;
        }
    }
}

// An unvoiced stretch of the recording (no band frame) is its envelope only,
// and a position past the recording reads its last frame.
TEST(MergeToSourceV4, UnvoicedRecordingFramesAreTheirEnvelopeAndPositionsStayInside)
{
    MakerBench bench;
    bench.prepare();
    auto model = materialFrom(levelFrames(10, -20.0f));
    std::vector<testbank::PlainFrame> frames = levelFrames(4, -40.0f, -30.0f, 10.0f);
    frames[3].harmonicsDb.clear();
    frames[3].bands.clear();
    auto source = materialFrom(frames);
    // Positions 2, 4, 6: frames 2, 3, 3.
    ASSERT_TRUE(runMerge(bench, *model, 2, 2, *source, 0, 2, 6, 3, 0.0f));
    ASSERT_EQ(bench.frames().size(), 3u);
    EXPECT_FLOAT_EQ(bench.level(0), -40.0f);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_TRUE(bench.frames()[i]->peaks.empty()) << i;
        EXPECT_EQ(bench.envelope(i), -30.0f) << i;
    }
}

// Placing values of a damaged record far outside the model: the walk stays
// within int, every read is clamped into the model (envelope frame 3 at -6,
// the last frame).
TEST(MergeToSourceV4, FarOffPlacingValuesReadTheModelsEdges)
{
    struct Case {
        int b, e, s0;
    } cases[] = {
        {2147483000, -2147483000, 0},
        {-2147483000, 2147483000, 2147483000},
        {2147483647, -2147483648, -2147483648},
    };
    for (const Case& c : cases) {
        MakerBench bench;
        bench.prepare();
        auto model = materialFrom(levelFrames(4, -20.0f, -30.0f, 2.0f));
        auto source = materialFrom(levelFrames(4, 0.0f, -30.0f, 1.0f, false));
        ASSERT_TRUE(runMerge(bench, *model, c.b, c.e, *source, c.s0, c.s0, 4, 4, 50.0f));
        ASSERT_EQ(bench.frames().size(), 4u) << c.b;
        const float edge = c.b > 0 ? -6.0f : 0.0f;
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(bench.envelope(i), edge) << c.b << " frame " << i;
    }
}

TEST(MergeToSourceV4, EmptyPartsAreNotSetUp)
{
    MakerBench bench;
    bench.prepare();
    auto model = materialFrom(levelFrames(10, -20.0f));
    auto empty = materialFrom({});
    struct Case {
        const char* what;
        bool emptyModel, emptySource;
        int length, n;
    } cases[] = {
        {"no frames", false, false, 4, 0},
        {"no recording span", false, false, 0, 4},
        {"empty model", true, false, 4, 4},
        {"empty recording", false, true, 4, 4},
    };
    for (const Case& c : cases) {
        CellMakerCore_FromStdModelAndSrcModel_merge2src maker(c.emptyModel ? *empty : *model, 0, 2,
                                                              c.emptySource ? *empty : *model, 0);
        maker.init(bench.state.makerSetting());
        EXPECT_FALSE(maker.setUp(0, c.length, c.n, 0, 0, 50.0f)) << c.what;
    }
}

}  // namespace
