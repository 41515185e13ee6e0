// Where the frames and residual samples of a built synthesis source come
// from, and the held length it keeps.
#include <gtest/gtest.h>

#include "FakeSlots.h"
#include "voicebank/v1/SynthSrcCache.h"
#include "voicebank/v2/SynthSrcCache.h"

namespace {

using synthsrc_test::FakeSlots;
using synthsrc_test::frameFreqs;

// Voice: 5 frames at 100.. Hz, hop 4, samples 0..23, join frame 3, held
// length 9, param9 6; three-part continuant: 2 frames at 500.. Hz, samples
// 1000..1011, param2 7.
template <int Generation, class Make, class Cache>
void expectConcatenation(Make make, Cache& cache)
{
    FakeSlots<Generation> slots;
    slots.addVoice("ma", 5, 4, 100.0f, 0, [](auto& v) {
        v.param4 = 3;
        v.param5 = 9;
        v.param9 = 6;
    });
    slots.addContinuant("a_m_ma", 2, 4, 500.0f, 1000, 0, 7);
    const auto* s = make("ma", "a", "m", "ma", "A3", cache, slots);
    ASSERT_NE(s, nullptr);
    // Voice frames 0..2, then both continuant frames.
    EXPECT_EQ(frameFreqs(*s), (std::vector<float>{100, 101, 102, 500, 501}));
    // (3 + 1) * 4 = 16 voice samples, then the continuant's 12.
    ASSERT_EQ(s->residual.numSamples(), 28u);
    EXPECT_EQ(s->residual.ptrBegin()[15], 15);
    EXPECT_EQ(s->residual.ptrBegin()[16], 1000);
    EXPECT_EQ(s->residual.ptrBegin()[27], 1011);
    EXPECT_EQ(s->hop, 4);
    EXPECT_EQ(s->param5, 7);
    EXPECT_EQ(s->param4, 3);
    EXPECT_EQ(s->param9, 6);
}

TEST(SourceLayout, AThreePartContinuantIsConcatenated)
{
    Halvoren::SynthSrcCache cache1(44100.0f);
    expectConcatenation<1>(Halvoren::makeSynthetiseSource, cache1);
    HalvorenEngineV2::SynthSrcCache cache2(44100.0f);
    expectConcatenation<2>(HalvorenEngineV2::makeSynthetiseSource, cache2);
}

TEST(SourceLayout, SecondGenerationConcatenationKeepsTheRatios)
{
    FakeSlots<2> slots;
    slots.addVoice("ma", 5, 4, 100.0f, 0, [](auto& v) {
        v.param4 = 3;
        v.ratio3 = 0.25f;
    });
    slots.addContinuant("a_m_ma", 2, 4, 500.0f, 1000, 0, 7);
    HalvorenEngineV2::SynthSrcCache cache(44100.0f);
    const auto* s = HalvorenEngineV2::makeSynthetiseSource("ma", "a", "m", "ma", "A3", cache, slots);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->ratio3, 0.25f);
    EXPECT_EQ(s->ratio1, 0.5f);
}

TEST(SourceLayout, SecondGenerationJoinsTheVoiceStraightToTheTail)
{
    struct Case {
        const char* what;
        const char* b;
        const char* c;
        std::vector<float> tailFreqs;
    };
    // Voice: param4 40, param5 10, ratio3 0.5: frames 0..39 kept, 40..44
    // joined (last joined 40 + 0.5 * 10 - 1 = 44). Tail: beginPos 0, endPos
    // 20, param3 30, ratios 0.5.
    const Case cases[] = {
        // Zero-initial: from 20 + (30 - 20) * 0.5 = 25, for 5 frames.
        {"zero-initial", "a", "a", {525, 526, 527, 528, 529}},
        // Otherwise: from 0 + (20 - 0) * 0.5 = 10, for 30 - 20 = 10 frames.
        {"with an onset", "l", "la", {510, 511, 512, 513, 514, 515, 516, 517, 518, 519}},
    };
    for (const Case& c : cases) {
        FakeSlots<2> slots;
        slots.addVoice("ma", 50, 128, 100.0f, 0, [](auto& v) {
            v.param4 = 40;
            v.param5 = 10;
        });
        slots.addVoice(c.c, 40, 128, 500.0f, 0, [](auto& v) {
            v.beginPos = 0;
            v.endPos = 20;
            v.param3 = 30;
        });
        HalvorenEngineV2::SynthSrcCache cache(44100.0f);
        const auto* s = HalvorenEngineV2::makeSynthetiseSource("ma", "a", c.b, c.c, "A3", cache, slots);
        ASSERT_NE(s, nullptr) << c.what;
        const std::vector<float> freqs = frameFreqs(*s);
        ASSERT_EQ(freqs.size(), 45 + c.tailFreqs.size()) << c.what;
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(freqs[i], 100.0f + float(i)) << c.what << " frame " << i;
        EXPECT_EQ(std::vector<float>(freqs.begin() + 45, freqs.end()), c.tailFreqs) << c.what;
        EXPECT_EQ(s->param5, 5) << c.what;  // 0.5 * 10
        EXPECT_EQ(s->name, std::string("ma.") + c.b + "." + c.c + ".A3") << c.what;
    }
}

}  // namespace

namespace {

// Voice: 8 frames at 100.. Hz, join frame 4. Continuant "a_m": 14 frames at
// 500.. Hz from param1 1, held length 3. Tail "na": 10 frames at 900.. Hz
// from beginPos 2 (endPos 2). The hop is an eighth of the FFT size (512 of
// 4096, 64 of 512), so a joined part is at most 8 + 3 = 11 frames.
template <int Generation, class Make, class Cache>
void expectJoinedLayout(Make make, Cache& cache, int hop)
{
    FakeSlots<Generation> slots;
    slots.addVoice("ma", 8, hop, 100.0f, 0, [](auto& v) {
        v.param4 = 4;
        v.param5 = 20;
    });
    slots.addContinuant("a_m", 14, hop, 500.0f, 0, 1, 3);
    slots.addVoice("na", 10, hop, 900.0f, 0, [](auto& v) {
        v.beginPos = 2;
        v.endPos = 2;
    });
    struct Case {
        const char* what;
        const char* c;
        std::vector<float> freqs;
    };
    const Case cases[] = {
        // Voice 0..3, then the continuant from 1 for at most 11 frames.
        {"continuant", "", {100, 101, 102, 103, 501, 502, 503, 504, 505, 506, 507, 508, 509, 510, 511}},
        // Voice 0..3, the continuant's 1..3, then the tail from 2 for the 8 left.
        {"continuant and tail", "na", {100, 101, 102, 103, 501, 502, 503, 902, 903, 904, 905, 906, 907, 908, 909}},
    };
    for (const Case& c : cases) {
        const auto* s = make("ma", "a", "m", c.c, "A3", cache, slots);
        ASSERT_NE(s, nullptr) << c.what;
        const std::vector<float> freqs = frameFreqs(*s);
        ASSERT_EQ(freqs.size(), c.freqs.size()) << "generation " << Generation << ", " << c.what;
        for (std::size_t i = 0; i < freqs.size(); ++i)
            EXPECT_NEAR(freqs[i], c.freqs[i], 0.01f) << "generation " << Generation << ", " << c.what << " frame " << i;
        EXPECT_EQ(s->param5, 3) << c.what;
        EXPECT_EQ(s->hop, hop) << c.what;
    }
}

TEST(SourceLayout, JoinedContinuantAndTailFrames)
{
    Halvoren::SynthSrcCache cache1(44100.0f);
    expectJoinedLayout<1>(Halvoren::makeSynthetiseSource, cache1, 512);
    HalvorenEngineV2::SynthSrcCache cache2(44100.0f);
    expectJoinedLayout<2>(HalvorenEngineV2::makeSynthetiseSource, cache2, 64);
}

}  // namespace
