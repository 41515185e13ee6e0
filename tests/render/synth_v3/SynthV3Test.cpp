#include <gtest/gtest.h>

#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "render/synth/Synth_v3.h"
#include "render/synth/SynthVersionTable.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBank.h"
#include "support/render/ChainRun.h"
#include "support/engine/TestGeneration.h"

namespace {

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

class SynthV3Test : public ::testing::Test {
protected:
    SynthV3Test() : tree_("synth_v3") { HalvorenEngine::setEngineManagerOverride(&manager_); }
    ~SynthV3Test() override { HalvorenEngine::setEngineManagerOverride(nullptr); }

    std::string bank(const std::string& language = "CHN")
    {
        const auto folder = tree_.addPackage("b" + std::to_string(banks_++), "3.1", "B",
                                             testbank::writeSingingBank(maBank(language)));
        return testbank::packageBasePath(folder);
    }

    HalvorenEngine::CleanGarbageSynthRunnable manager_{5};
    testbank::BankTree tree_;
    int banks_ = 0;
};

TEST_F(SynthV3Test, VersionsThreeOneToThreeThreeMakeTheThirdGeneration)
{
    const SynthMakerTable table = programSynthMakers();
    const std::string path = bank();
    for (const char* version : {"3.1", "3.2", "3.3"}) {
        SCOPED_TRACE(version);
        const auto row = table.find(version);
        ASSERT_NE(row, table.end());
        std::unique_ptr<ISynth> synth(row->second(path));
        auto* v3 = dynamic_cast<Synth_v3*>(synth.get());
        ASSERT_NE(v3, nullptr);
        auto* core = dynamic_cast<Synth_V3_core_v3*>(v3->core());
        ASSERT_NE(core, nullptr);
        ASSERT_NE(core->engine(), nullptr);
        EXPECT_NE(core->score(), nullptr);
        EXPECT_TRUE(core->isValidSymbol("ma"));
        EXPECT_FALSE(core->isValidSymbol("qqq"));
    }
    for (const char* version : {"3.4", "5.0"})
        EXPECT_EQ(table.count(version), 0u) << version;
}

TEST_F(SynthV3Test, BankOutsidePinyinKnowsNoSymbol)
{
    Synth_V3_core_v3 core(bank("JPN"));
    ASSERT_NE(core.engine(), nullptr);
    EXPECT_FALSE(core.isValidSymbol("ma"));
}

TEST_F(SynthV3Test, ChainedSegmentsSingOneAfterAnother)
{
    const std::string path = bank();
    HVCurrentModel::Tempo tempo{0, 12000, false};
    std::vector<HVCurrentModel::Tempo*> tempos{&tempo};
    HVCurrentModel::SingSegment first{0, 1920}, second{1920, 1920};
    for (HVCurrentModel::SingSegment* seg : {&first, &second}) {
        auto* n = new HVCurrentModel::Note();
        n->pos = 0, n->width = 480, n->key = 60, n->phoneticSymbol = "ma";
        seg->notes.insertSorted(n);
    }
    std::unique_ptr<ISynth> a(makeTimbreSynth<Synth_v3>(path)), b(makeTimbreSynth<Synth_v3>(path));
    ASSERT_TRUE(a->loadSegment(&first, tempos, 0, 1920, 0.3f));
    ASSERT_TRUE(b->loadSegment(&second, tempos, 0, 1920, 0.3f));
    const auto loudest = rendertest::singChained(*a, *b);
    ASSERT_TRUE(loudest.has_value());
    for (int k : *loudest) {
        EXPECT_GT(k, 300);
        EXPECT_LT(k, 32767);
    }
}

}  // namespace
