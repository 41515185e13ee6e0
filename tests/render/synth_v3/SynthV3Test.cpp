#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "render/synth/Synth_v3.h"
#include "render/synth/Synth_v3_1.h"
#include "render/synth/SynthVersionTable.h"
#include "render/synth/SynthSegment.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBank.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/OutputMeasures.h"
#include "support/render/ChainRun.h"
#include "support/engine/TestGeneration.h"

namespace {

using enginetest::silent;
using HalvorenEngineTest::eventually;

// "v3_4" for "3.4".
std::string testName(std::string version)
{
    std::replace(version.begin(), version.end(), '.', '_');
    return "v" + version;
}

testbank::SingingBank maBank(const std::string& language)
{
    testbank::SingingBank bank;
    bank.header.hopSize = 128;
    bank.language = language;
    testbank::SyllableShape shape;
    shape.unit = "ma";
    bank.voices.push_back(testbank::syllableVoice(shape, testbank::VoiceTone{}, 128));
    return bank;
}

class SynthV3Test : public enginetest::ManagedBankTest<> {
protected:
    SynthV3Test() : ManagedBankTest("synth_v3") {}

    std::string bank(const std::string& language = "CHN")
    {
        const auto folder = tree_.addPackage("b" + std::to_string(banks_++), "3.1", "B",
                                             testbank::writeSingingBank(maBank(language)));
        return testbank::packageBasePath(folder);
    }

    int banks_ = 0;
};

// 3.1 to 3.3 make the third generation itself; 3.4 and 3.5 its variants.
TEST_F(SynthV3Test, VersionsThreeOneToThreeFiveMakeTheThirdGeneration)
{
    const SynthMakerTable table = programSynthMakers();
    const std::string path = bank();
    struct Case {
        const char* version;
        bool wantV3_1, wantV3_2;
    } cases[] = {{"3.1", false, false}, {"3.2", false, false}, {"3.3", false, false},
                 {"3.4", true, false},  {"3.5", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const auto row = table.find(c.version);
        ASSERT_NE(row, table.end());
        std::unique_ptr<ISynth> synth(row->second(path));
        auto* v3 = dynamic_cast<Synth_v3*>(synth.get());
        ASSERT_NE(v3, nullptr);
        EXPECT_EQ(dynamic_cast<Synth_v3_1*>(synth.get()) != nullptr, c.wantV3_1);
        EXPECT_EQ(dynamic_cast<Synth_v3_2*>(synth.get()) != nullptr, c.wantV3_2);
        auto* core = dynamic_cast<Synth_V3_core_v3*>(v3->core());
        ASSERT_NE(core, nullptr);
        EXPECT_EQ(dynamic_cast<Synth_V3_core_v3_1*>(core) != nullptr, c.wantV3_1);
        EXPECT_EQ(dynamic_cast<Synth_V3_core_v3_2*>(core) != nullptr, c.wantV3_2);
        ASSERT_NE(core->engine(), nullptr);
        EXPECT_NE(core->score(), nullptr);
        EXPECT_TRUE(core->isValidSymbol("ma"));
        EXPECT_FALSE(core->isValidSymbol("qqq"));
    }
    for (const char* version : {"5.0"})
        EXPECT_EQ(table.count(version), 0u) << version;
}

TEST_F(SynthV3Test, BankOutsidePinyinKnowsNoSymbol)
{
    Synth_V3_core_v3 core(bank("JPN"));
    ASSERT_NE(core.engine(), nullptr);
    EXPECT_FALSE(core.isValidSymbol("ma"));
}

class ChainTest : public SynthV3Test, public ::testing::WithParamInterface<const char*> {};

TEST_P(ChainTest, ChainedSegmentsSingOneAfterAnother)
{
    const std::string path = bank();
    const SynthMaker make = programSynthMakers().at(GetParam());
    synthtest::SynthSegment first(0), second(1920);
    first.add(0, 480, 60, "ma");
    second.add(0, 480, 60, "ma");
    std::unique_ptr<ISynth> a(make(path)), b(make(path));
    ASSERT_TRUE(a->loadSegment(&first.seg, first.tempos, 0, 1920, 0.3f));
    ASSERT_TRUE(b->loadSegment(&second.seg, second.tempos, 0, 1920, 0.3f));
    rendertest::expectChainSings(*a, *b);
}

INSTANTIATE_TEST_SUITE_P(Versions, ChainTest, ::testing::Values("3.1", "3.4", "3.5"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return testName(info.param); });

// The singing bank's phrase: "ma", "sa" and "la" joined, a rest, "ma".
void fillPhrase(HalvorenEngine::SynthScoreV3& score)
{
    score.clear();
    score.leadIn = 0.3f;
    const char* symbols[] = {"ma", "sa", "la", "ma"};
    const float starts[] = {0.0f, 0.6f, 1.2f, 2.2f};
    for (int k = 0; k < 4; ++k) {
        HalvorenEngine::SynthNoteV3 n;
        n.symbol = symbols[k];
        n.timbre = n.crossTimbre = "C4";
        n.start = starts[k];
        n.duration = 0.6f;
        n.elemTime0 = 1.0f;
        score.notes.push_back(n);
    }
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, 261.63f}, {1.0f, 329.63f}, {2.0f, 293.66f}};
}

// Renders the phrase through the core's front; with plan set, the core's
// timing plan runs on this thread again and again while the job sings.
std::vector<short> renderPhrase(SynthCore& core, bool plan)
{
    fillPhrase(*core.score());
    HalvorenEngine::SynthScoreV3 planned = *core.score();
    HalvorenEngine::IHVSynthesizer* engine = core.engine();
    engine->start();
    std::vector<HalvorenEngine::NoteTimes> times;
    int plans = 0;
    EXPECT_TRUE(eventually([&] {
        if (plan) {
            core.prepareCells(planned, times);
            EXPECT_EQ(times.size(), 4u);
            ++plans;
        }
        return engine->samplesReady() == INT_MAX;
    }));
    if (plan) {
        EXPECT_GT(plans, 0);
    }
    std::vector<short> samples = HalvorenEngineTest::outputOf(*engine);
    engine->stop();
    return samples;
}

TEST_F(SynthV3Test, TimingPlanDuringARenderLeavesTheSoundAlone)
{
    testbank::BankTree tree("synth_v3_plan");
    const std::string path = testbank::packageBasePath(
        tree.addPackage("p", "3.1", "P", testbank::writeSingingBank(testbank::threeSyllableBank(128))));
    Synth_V3_core_v3 quiet(path), planned(path);
    const std::vector<short> alone = renderPhrase(quiet, false);
    const std::vector<short> withPlan = renderPhrase(planned, true);
    ASSERT_FALSE(alone.empty());
    EXPECT_TRUE(alone == withPlan);
}

class TimesTest : public SynthV3Test, public ::testing::WithParamInterface<const char*> {};

TEST_P(TimesTest, TimesReadBackLieWhereTheSoundIs)
{
    testbank::BankTree tree("synth_v3_times");
    const std::string path = testbank::packageBasePath(
        tree.addPackage("p", GetParam(), "P", testbank::writeSingingBank(testbank::threeSyllableBank(128))));
    std::unique_ptr<ISynth> synth(programSynthMakers().at(GetParam())(path));
    SynthCore* core = static_cast<Synth_v3*>(synth.get())->core();
    fillPhrase(*core->score());
    std::vector<HalvorenEngine::NoteTimes> times;
    core->prepareCells(*core->score(), times);
    ASSERT_EQ(times.size(), 4u);
    const std::vector<short> out = renderPhrase(*core, false);
    // Output frames from the times: starts count from the job's start, lead-in included.
    const float leadIn = core->score()->leadIn;
    auto frame = [](float seconds) { return static_cast<int>(std::lround(seconds * 44100.0f / 128.0f)); };
    auto onsetOf = [&](int k) { return frame(times[k].values[0] + leadIn) - frame(times[k].values[3]); };
    auto endOf = [&](int k) { return frame(times[k].values[0] + leadIn) + frame(times[k].values[4]); };
    constexpr int hop = 128;
    // Sound starts with the first onset, within a hop.
    EXPECT_TRUE(silent(out, 0, onsetOf(0) * hop));
    EXPECT_FALSE(silent(out, onsetOf(0) * hop, (onsetOf(0) + 1) * hop));
    // The joined notes end where the rest begins; the last note's onset ends it.
    EXPECT_FALSE(silent(out, (endOf(2) - 1) * hop, endOf(2) * hop));
    EXPECT_TRUE(silent(out, (endOf(2) + 1) * hop, onsetOf(3) * hop));
    EXPECT_FALSE(silent(out, onsetOf(3) * hop, (onsetOf(3) + 1) * hop));
    EXPECT_FALSE(silent(out, (endOf(3) - 1) * hop, endOf(3) * hop));
    EXPECT_TRUE(silent(out, (endOf(3) + 1) * hop, static_cast<int>(out.size())));
}

INSTANTIATE_TEST_SUITE_P(Versions, TimesTest, ::testing::Values("3.1", "3.4", "3.5"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return testName(info.param); });

}  // namespace
