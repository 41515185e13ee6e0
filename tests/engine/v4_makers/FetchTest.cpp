#include <gtest/gtest.h>

#include "support/engine/MakerFixtures.h"

namespace {

using makertest::MakerBench;

TEST(FetchV4, RetriesWithDashOnlyWhenFlagged)
{
    struct Case {
        const char* name;
        bool continuant;
        bool retry;
        std::vector<std::string> asked;
        bool found;
    } cases[] = {
        // Only "-ma" and the continuant "-n" are held.
        {"ma", false, true, {"ma", "-ma"}, true},
        {"ma", false, false, {"ma"}, false},
        {"n", true, true, {"n", "-n"}, true},
        {"n", true, false, {"n"}, false},
        {"zz", false, true, {"zz", "-zz"}, false},
    };
    for (const Case& c : cases) {
        MakerBench bench;
        bench.store.voices["-ma"] = {{0, 1, 2, 3, 4}, makertest::levelFrames(4, -20.0f)};
        bench.store.continuants["-n"] = {0, 4, makertest::levelFrames(4, -20.0f)};
        const std::string where = std::string(c.name) + (c.retry ? " retry" : " once");
        const bool found = c.continuant ? bench.state.fetchContinuantSrc(c.name, "C4", c.retry) != nullptr
                                        : bench.state.fetchVoiceSrc(c.name, "C4", c.retry) != nullptr;
        EXPECT_EQ(found, c.found) << where;
        EXPECT_EQ(bench.store.asked, c.asked) << where;
    }
}

TEST(FetchV4, ContinuantsAreKeptUnderTheirOneNameAndStoredPitch)
{
    MakerBench bench;
    bench.store.continuants["-"] = {0, 4, makertest::levelFrames(4, -20.0f)};
    bench.store.continuants["l"] = {0, 4, makertest::levelFrames(4, -20.0f)};
    auto* dash = bench.state.fetchContinuantSrc("-", "D4", false);
    auto* l = bench.state.fetchContinuantSrc("l", "D4", false);
    ASSERT_NE(dash, nullptr);
    ASSERT_NE(l, nullptr);
    // The fake stores everything at C4.
    EXPECT_EQ(bench.state.cache().continuantSrcs.find("-_C4"), dash);
    EXPECT_EQ(bench.state.cache().continuantSrcs.find("l_C4"), l);
    // A second fetch is the kept record.
    EXPECT_EQ(bench.state.fetchContinuantSrc("-", "D4", false), dash);
    EXPECT_NE(bench.state.fetchSrcContinuantParameter("l", "C4", false), nullptr);
    EXPECT_NE(bench.state.cache().srcContinuantParameters.find("l_C4"), nullptr);
}

TEST(FetchV4, PhaseEntryOnlyWithTheExtraBlock)
{
    for (bool ext1 : {false, true}) {
        MakerBench bench;
        bench.store.ext1 = ext1;
        bench.store.voices["a"] = {{0, 1, 2, 3, 4}, makertest::levelFrames(4, -20.0f)};
        auto* unit = bench.state.fetchVoiceSrc("a", "C4", false);
        ASSERT_NE(unit, nullptr);
        Halvoren::StepTable* want = ext1 ? &unit->material->ext1 : nullptr;
        EXPECT_EQ(bench.state.phaseEntryOf(unit), want) << ext1;
        EXPECT_EQ(bench.state.phaseEntryOf(nullptr), nullptr) << ext1;
    }
}

}  // namespace
