// Which records a synthesis source is built from, under which key, and
// that each key is built once.
#include <gtest/gtest.h>

#include <sstream>

#include "FakeSlots.h"
#include "voicebank/v1/SynthSrcCache.h"
#include "voicebank/v2/SynthSrcCache.h"

namespace {

using synthsrc_test::FakeSlots;
using Strings = std::vector<std::string>;

template <int Generation>
void addVoice(FakeSlots<Generation>& slots, const std::string& name)
{
    slots.addVoice(name, 6, 64, 100.0f, 0, [](auto& v) {
        v.param4 = 3;
        v.param5 = 2;
    });
}

TEST(SynthSrcCache, AThreePartContinuantIsKeyedByEveryName)
{
    FakeSlots<1> slots;
    addVoice(slots, "ma");
    slots.addContinuant("a_m_ma", 2, 64, 500.0f, 0, 0, 2);
    Halvoren::SynthSrcCache cache(44100.0f);
    const auto* source = Halvoren::makeSynthetiseSource("ma", "a", "m", "ma", "A3", cache, slots);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(cache.find("ma.m.ma.A3"), source);
    EXPECT_EQ(source->name, "ma.m.ma.A3");
    EXPECT_EQ(source->pitch, "A3");
    EXPECT_EQ(slots.voiceCalls, (Strings{"ma"}));
    EXPECT_EQ(slots.continuantCalls, (Strings{"a_m_ma"}));

    // The same request again asks the store for nothing.
    EXPECT_EQ(Halvoren::makeSynthetiseSource("ma", "a", "m", "ma", "A3", cache, slots), source);
    EXPECT_EQ(slots.voiceCalls.size(), 1u);
    EXPECT_EQ(slots.continuantCalls.size(), 1u);
}

TEST(SynthSrcCache, FirstGenerationWithoutContinuantDropsTheNeighbours)
{
    FakeSlots<1> slots;
    addVoice(slots, "ma");
    addVoice(slots, "la");
    Halvoren::SynthSrcCache cache(44100.0f);
    const auto* first = Halvoren::makeSynthetiseSource("ma", "a", "l", "la", "A3", cache, slots);
    const auto* second = Halvoren::makeSynthetiseSource("ma", "a", "l", "lo", "A3", cache, slots);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.find("ma...A3"), first);
    // Three-part, then two-part continuant; the tail is never asked for.
    EXPECT_EQ(slots.continuantCalls, (Strings{"a_l_la", "a_l", "a_l_lo", "a_l"}));
    EXPECT_EQ(slots.voiceCalls, (Strings{"ma", "ma"}));
    // The voice alone: its six frames.
    EXPECT_EQ(first->peaks.size(), 6u);
}

TEST(SynthSrcCache, SecondGenerationKeepsTheNeighboursAndAsksForTheTail)
{
    FakeSlots<2> slots;
    addVoice(slots, "ma");
    Halvoren::BasicSynthSrcCache<2> cache(44100.0f);
    const auto* first = HalvorenEngineV2::makeSynthetiseSource("ma", "a", "l", "la", "A3", cache, slots);
    const auto* second = HalvorenEngineV2::makeSynthetiseSource("ma", "a", "l", "lo", "A3", cache, slots);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(cache.find("ma.l.la.A3"), first);
    EXPECT_EQ(cache.find("ma.l.lo.A3"), second);
    EXPECT_EQ(slots.voiceCalls, (Strings{"ma", "la", "ma", "lo"}));
}

TEST(SynthSrcCache, AnEmptyFirstNeighbourAsksForTheThreePartNameOnly)
{
    for (int generation : {1, 2}) {
        Strings calls;
        if (generation == 1) {
            FakeSlots<1> slots;
            addVoice(slots, "ma");
            Halvoren::SynthSrcCache cache(44100.0f);
            EXPECT_NE(Halvoren::makeSynthetiseSource("ma", "a", "", "ma", "A3", cache, slots), nullptr);
            calls = slots.continuantCalls;
        } else {
            FakeSlots<2> slots;
            addVoice(slots, "ma");
            HalvorenEngineV2::SynthSrcCache cache(44100.0f);
            EXPECT_NE(HalvorenEngineV2::makeSynthetiseSource("ma", "a", "", "ma", "A3", cache, slots), nullptr);
            calls = slots.continuantCalls;
        }
        EXPECT_EQ(calls, (Strings{"a__ma"})) << "generation " << generation;
    }
}

TEST(SynthSrcCache, NoVoiceAtThePitchGivesNullAndCachesNothing)
{
    FakeSlots<1> slots;
    addVoice(slots, "ma");
    Halvoren::SynthSrcCache cache(44100.0f);
    EXPECT_EQ(Halvoren::makeSynthetiseSource("ma", "a", "", "", "C4", cache, slots), nullptr);
    EXPECT_EQ(Halvoren::makeSynthetiseSource("ma", "a", "", "", "C4", cache, slots), nullptr);
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(slots.voiceCalls.size(), 2u);  // asked again each time
    EXPECT_TRUE(slots.continuantCalls.empty());
}

TEST(SynthSrcCache, ARefusedInsertKeepsTheStoredSource)
{
    std::ostringstream log;
    Halvoren::SynthSrcCache cache(44100.0f, log);
    auto* stored = cache.insert("ma...A3", std::make_unique<Halvoren::SynthetiseSource>("ma...A3", "A3"));
    auto* again = cache.insert("ma...A3", std::make_unique<Halvoren::SynthetiseSource>("ma...A3", "A3"));
    EXPECT_EQ(again, stored);
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(log.str(), "fail to insert SynthetiseSource : ma...A3\n");
    cache.clear();
    EXPECT_EQ(cache.find("ma...A3"), nullptr);
}

}  // namespace
