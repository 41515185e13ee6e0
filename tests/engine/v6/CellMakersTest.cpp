#include <gtest/gtest.h>

#include <functional>

#include "support/engine/FakeStoreV6.h"
#include "support/engine/ModelFixtures.h"
#include "engine/v6/CellMakerState.h"
#include "engine/v6/CellMakers.h"

namespace {

using namespace HalvorenEngineV6;
using v6test::flatFrame;
using v6test::Frames;
using v6test::valuesOf;

// What one call of make gave.
struct Made {
    bool made = false;
    float levelDb = 99.0f;
    float refValue = 99.0f;
    Halvoren::FrameMags frame;
    ModelFrame scratch;
};

Made makeFrame(CellMakerCore& maker, int i)
{
    Made m;
    m.made = maker.make(i, m.levelDb, m.frame, m.refValue, 220.0f, m.scratch);
    return m;
}

// Frames whose pitch tells their number: frame k at 100 + k Hz.
Frames numberedFrames(int count)
{
    Frames frames;
    for (int k = 0; k < count; ++k)
        frames.push_back(flatFrame(100.0f + static_cast<float>(k)));
    return frames;
}

TEST(CellMakersV6, StandardModelFadesInAndStopsAtItsLastFrame)
{
    const auto model = v6test::modelOf(numberedFrames(5));
    CellMakerCore_FromStdModel maker;
    // 10 model frames from frame 2 over 5 part frames: rate 2; fade over 4.
    maker.setUp(4, 2, 10, 5, *model);
    struct Case {
        int i;
        float levelDb;
        float refValue;
    } cases[] = {
        {0, -120.0f, 102.0f},
        {1, -12.0412f, 104.0f},   // 20 log10(1/4)
        {2, -6.0206f, 104.0f},    // 20 log10(2/4); position 6 clamped to 4
        {3, -2.4988f, 104.0f},    // 20 log10(3/4)
        {4, 0.0f, 104.0f},
        {9, 0.0f, 104.0f},
    };
    for (const Case& c : cases) {
        const Made m = makeFrame(maker, c.i);
        ASSERT_TRUE(m.made) << c.i;
        EXPECT_NEAR(m.levelDb, c.levelDb, 1e-3) << c.i;
        EXPECT_EQ(m.refValue, c.refValue) << c.i;
        EXPECT_EQ(m.scratch.refValue, c.refValue) << c.i;
    }
    // A span above the part fades over the part; a span of 0 not at all.
    maker.setUp(8, 0, 2, 2, *model);
    EXPECT_NEAR(makeFrame(maker, 1).levelDb, -6.0206f, 1e-3);  // 20 log10(1/2)
    maker.setUp(0, 0, 2, 2, *model);
    EXPECT_EQ(makeFrame(maker, 0).levelDb, 0.0f);
}

TEST(CellMakersV6, RefusedSetUpsAndEmptyModelsMakeNothing)
{
    const auto model = v6test::modelOf(numberedFrames(5));
    const auto none = v6test::modelOf({});
    ContinuantSrc tail("a_k", "C4");
    tail.v6ContParam2 = 5;
    tail.material = std::make_unique<SrcMaterial>("a_k", "C4");

    CellMakerCore_FromStdModel fromStd;
    CellMakerCore_FromStdModelAndSrcModel_merge2src merge2src;
    CellMakerCore_ByMergeTwoModel twoModels;
    CellMakerCore_ByMergeTwoModelAndTailSrc tailSrc;
    CellMakerCore core;
    struct Case {
        const char* what;
        CellMakerCore* maker;
        std::function<void()> setUp;
    } cases[] = {
        {"base maker", &core, [] {}},
        {"standard, no part", &fromStd, [&] { fromStd.setUp(4, 0, 5, 0, *model); }},
        {"standard, negative use", &fromStd, [&] { fromStd.setUp(4, 0, -1, 5, *model); }},
        {"standard, no frames", &fromStd, [&] { fromStd.setUp(4, 0, 5, 5, *none); }},
        {"merge2src, no part", &merge2src, [&] { merge2src.setUp(0, 5, 0, *model, 0, *model, false); }},
        {"merge2src, no source", &merge2src, [&] { merge2src.setUp(0, 0, 5, *model, 0, *model, false); }},
        {"merge2src, empty source", &merge2src, [&] { merge2src.setUp(0, 5, 5, *model, 0, *none, false); }},
        {"merge2src, empty standard", &merge2src, [&] { merge2src.setUp(0, 5, 5, *none, 0, *model, false); }},
        {"two models, no part", &twoModels, [&] { twoModels.setUp(*model, 0, *model, 1, 0); }},
        {"two models, empty second", &twoModels, [&] { twoModels.setUp(*model, 0, *none, 0, 4); }},
        {"tail, no part", &tailSrc, [&] { tailSrc.setUp(*model, 0, tail, *model, 1, 0); }},
        {"tail, empty continuant", &tailSrc, [&] { tailSrc.setUp(*model, 0, tail, *model, 1, 10); }},
        {"tail, empty first", &tailSrc, [&] { tailSrc.setUp(*none, 0, tail, *model, 1, 10); }},
    };
    for (const Case& c : cases) {
        c.setUp();
        for (int i : {0, 1, 3}) {
            const Made m = makeFrame(*c.maker, i);
            EXPECT_FALSE(m.made) << c.what << " frame " << i;
            EXPECT_EQ(m.levelDb, 99.0f) << c.what << " frame " << i;
            EXPECT_EQ(m.refValue, 99.0f) << c.what << " frame " << i;
            EXPECT_TRUE(m.frame.isEmpty()) << c.what << " frame " << i;
        }
    }
}

// A source of 40 frames voiced (at 200 + k Hz) from frame 3 to 7, 0 at 8
// and after; a standard model at 100 Hz.
Frames voicedRunSource()
{
    Frames frames;
    for (int k = 0; k < 40; ++k)
        frames.push_back(flatFrame(k >= 3 && k <= 7 ? 200.0f + static_cast<float>(k) : 0.0f));
    return frames;
}

TEST(CellMakersV6, Merge2srcKeepsTheVoicedRunAndCrossesOverIt)
{
    const auto source = v6test::modelOf(voicedRunSource());
    const auto standard = v6test::modelOf({flatFrame(100.0f)});
    CellMakerCore_FromStdModelAndSrcModel_merge2src maker;

    // Length 20 over 40 from frame 3: the run ends at 7, so 7 - 3 + 2 = 6
    // frames are kept, rate 6 / 40 = 0.15, and the fade lasts
    // trunc(40 * 4 / 6) = 26 frames.
    maker.setUp(3, 20, 40, *standard, 0, *source, false);
    EXPECT_FLOAT_EQ(maker.rate(), 0.15f);
    EXPECT_EQ(maker.fadeFrames(), 26);
    struct Case {
        int i;
        float refValue;
        bool voiced;
    } cases[] = {
        {0, 100.0f, true},                            // w 1: the standard frame alone
        {13, 0.5f * 100.0f + 0.5f * 204.0f, true},    // w 13/26, position trunc(1.95 + 3) = 4
        {26, 206.0f, true},                           // w 0, position trunc(3.9 + 3) = 6
        {39, 0.0f, false},                            // position trunc(5.85 + 3) = 8, unvoiced
    };
    for (const Case& c : cases) {
        const Made m = makeFrame(maker, c.i);
        ASSERT_TRUE(m.made) << c.i;
        EXPECT_EQ(m.levelDb, 0.0f) << c.i;
        EXPECT_NEAR(m.refValue, c.refValue, 1e-3) << c.i;
        EXPECT_EQ(m.scratch.holdsData(), c.voiced) << c.i;
    }

    // Keep-length: all 20 frames, rate 20 / 40 = 0.5, fade trunc(40 * 4 / 20) = 8.
    maker.setUp(3, 20, 40, *standard, 0, *source, true);
    EXPECT_FLOAT_EQ(maker.rate(), 0.5f);
    EXPECT_EQ(maker.fadeFrames(), 8);

    // A source unvoiced at its start: the run is frame r alone, no fade.
    maker.setUp(10, 20, 40, *standard, 0, *source, false);
    EXPECT_EQ(maker.fadeFrames(), 0);
    EXPECT_FLOAT_EQ(maker.rate(), 2.0f / 40.0f);  // min(0 + 2, 20) frames
    // Positions past the source's end stay on its last frame.
    maker.setUp(38, 20, 4, *standard, 0, *source, true);
    EXPECT_TRUE(makeFrame(maker, 3).made);  // trunc(15 + 38) = 53, clamped to 39
}

TEST(CellMakersV6, TwoModelsMixFromTheFirstToTheSecond)
{
    const auto first = v6test::modelOf({flatFrame(100.0f, -10.0f, 10, 0.0f, 0.5f, 1.0f)});
    const auto second = v6test::modelOf({flatFrame(0.0f), flatFrame(300.0f, -30.0f, 30, 0.0f, 0.5f, 3.0f)});
    CellMakerCore_ByMergeTwoModel maker;
    maker.setUp(*first, 0, *second, 1, 4);
    struct Case {
        int i;
        float refValue;  // w = (4 - i) / 4 of 100, the rest of 300
        float harmonicDb;
    } cases[] = {{0, 100.0f, -10.0f}, {1, 150.0f, -15.0f}, {2, 200.0f, -20.0f}, {3, 250.0f, -25.0f}};
    for (const Case& c : cases) {
        const Made m = makeFrame(maker, c.i);
        ASSERT_TRUE(m.made) << c.i;
        EXPECT_FLOAT_EQ(m.refValue, c.refValue) << c.i;
        EXPECT_FLOAT_EQ(valuesOf(m.scratch.harmonics)[0], c.harmonicDb) << c.i;
    }
}

TEST(CellMakersV6, FrameBuffersComeFromTheScratchFrameAboveFormat61)
{
    // Phase offsets 1 in the first model, 3 in the second: halfway (part of
    // 4, frame 2) the scratch frame holds 2, the first model's stored frame 1.
    const auto first = v6test::modelOf({flatFrame(100.0f, -10.0f, 10, 0.0f, 0.5f, 1.0f)});
    const auto second = v6test::modelOf({flatFrame(300.0f, -30.0f, 30, 0.0f, 0.5f, 3.0f)});
    struct Case {
        std::int32_t major, minor;
        float offset;
    } cases[] = {{6, 0, 1.0f}, {6, 1, 1.0f}, {6, 2, 2.0f}, {7, 0, 2.0f}};
    for (const Case& c : cases) {
        v6test::FakeStoreV6 store;
        store.major = c.major;
        store.minor = c.minor;
        CellMakerState state(44100.0f);
        state.attachStore(store);
        CellMakerCore_ByMergeTwoModel maker;
        maker.span.modelFrames = state.modelFrameFlag();
        maker.setUp(*first, 0, *second, 0, 4);
        const Made m = makeFrame(maker, 2);
        EXPECT_EQ(valuesOf(m.frame), std::vector<float>(3, c.offset)) << c.major << "." << c.minor;
    }
}

TEST(CellMakersV6, TailSourcePhasesSplitThePartInDouble)
{
    const auto first = v6test::modelOf({flatFrame(100.0f)});
    const auto second = v6test::modelOf({flatFrame(300.0f)});
    ContinuantSrc tail("a_k", "C4");
    tail.v6ContParam1 = 2;
    tail.v6ContParam2 = 5;
    tail.material = std::make_unique<SrcMaterial>("a_k", "C4");
    v6test::readModel(numberedFrames(10), *tail.material);

    struct Case {
        int length, merge, hold, tail;
    } cases[] = {
        {100, 44, 10, 46},  // 100 * 0.449999988 = 44.99..., 100 * 0.100000001 = 10.00...
        {20, 8, 2, 10},     // 8.99..., 2.00...
        {1, 0, 0, 1},
    };
    for (const Case& c : cases) {
        CellMakerCore_ByMergeTwoModelAndTailSrc maker;
        maker.setUp(*first, 0, tail, *second, 0, c.length);
        EXPECT_EQ(maker.mergeFrames(), c.merge) << c.length;
        EXPECT_EQ(maker.holdFrames(), c.hold) << c.length;
        EXPECT_EQ(maker.tailFrames(), c.tail) << c.length;
    }

    // Over 20 frames: source frames 2..6 at rate 5 / 20 = 0.25.
    CellMakerCore_ByMergeTwoModelAndTailSrc maker;
    maker.setUp(*first, 0, tail, *second, 0, 20);
    struct Frame {
        int i;
        float refValue;
    } walk[] = {
        {0, 100.0f},                                   // merge, u = 1
        {4, 0.5f * 100.0f + 0.5f * 103.0f},            // u = 4/8, source trunc(1 + 2) = 3
        {8, 104.0f},                                   // hold: trunc(2 + 2) = 4
        {9, 104.0f},                                   // trunc(2.25 + 2) = 4
        {10, 104.0f},                                  // tail, u = 10/10: trunc(2.5 + 2) = 4
        {15, 0.5f * 105.0f + 0.5f * 300.0f},           // u = 5/10, trunc(3.75 + 2) = 5
        {19, 0.1f * 106.0f + 0.9f * 300.0f},           // u = 1/10, trunc(4.75 + 2) = 6
    };
    for (const Frame& f : walk) {
        const Made m = makeFrame(maker, f.i);
        ASSERT_TRUE(m.made) << f.i;
        EXPECT_NEAR(m.refValue, f.refValue, 1e-3) << f.i;
    }
    // Outside the part the outputs stay.
    EXPECT_FALSE(makeFrame(maker, 20).made);
    EXPECT_FALSE(makeFrame(maker, -1).made);
}

}  // namespace
