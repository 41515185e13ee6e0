#include <gtest/gtest.h>

#include <climits>

#include "render/synth/ChainSynthMgr.h"
#include "render/synth/SynthSegment.h"
#include "render/synth/SynthVersionTable.h"
#include "render/synth/Synth_v6.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBankV6.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/TestGeneration.h"

namespace {

using HalvorenEngineTest::eventually;

class SynthV6Test : public enginetest::ManagedBankTest<> {
protected:
    SynthV6Test() : ManagedBankTest("synth_v6") {}

    std::string bank(std::int32_t formatMinor = 1)
    {
        const auto folder = tree_.addPackage("b" + std::to_string(banks_++), "6." + std::to_string(formatMinor), "B",
                                             testbank::writeSingingBankV6(testbank::phraseBankV6(formatMinor, 128)));
        return testbank::packageBasePath(folder);
    }

    int banks_ = 0;
};

TEST_F(SynthV6Test, VersionsSixZeroAndSixOneMakeTheSixthGeneration)
{
    const SynthMakerTable table = programSynthMakers();
    const struct {
        const char* version;
        std::int32_t minor;
    } rows[] = {{"6.0", 0}, {"6.1", 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.version);
        const auto row = table.find(r.version);
        ASSERT_NE(row, table.end());
        std::unique_ptr<ISynth> synth(row->second(bank(r.minor)));
        auto* v6 = dynamic_cast<Synth_v6*>(synth.get());
        ASSERT_NE(v6, nullptr);
        auto* core = dynamic_cast<Synth_V6_core_v6*>(v6->core());
        ASSERT_NE(core, nullptr);
        ASSERT_NE(core->engine(), nullptr);
        EXPECT_NE(core->score(), nullptr);
        EXPECT_TRUE(core->isValidSymbol("ka"));
        EXPECT_FALSE(core->isValidSymbol("qqq"));
        // The bank's one timbre, "C4/C4/C4".
        EXPECT_EQ(v6->timbreCount(), 1);
        std::string a, b, c;
        v6->timbrePitchNames(0, a, b, c);
        EXPECT_EQ(c, "C4");
    }
    for (const char* version : {"6.2", "6", "5.0"})
        EXPECT_EQ(table.count(version), 0u) << version;
}

TEST_F(SynthV6Test, UnknownSymbolsAreSentUnchanged)
{
    synthtest::SynthSegment s(0);
    s.add(0, 480, 60, "qqq");
    s.add(480, 480, 60, "");
    s.add(960, 480, 60, "ka");
    std::unique_ptr<ISynth> synth(makeTimbreSynth<Synth_v6>(bank()));
    auto* v6 = static_cast<Synth_v6*>(synth.get());
    ASSERT_TRUE(synth->loadSegment(&s.seg, s.tempos, 0, 1920, 0.3f));
    const HalvorenEngine::SynthScoreV3* score = v6->core()->score();
    ASSERT_EQ(score->notes.size(), 3u);
    EXPECT_EQ(score->notes[0].symbol, "qqq");
    EXPECT_EQ(score->notes[1].symbol, "");
    EXPECT_EQ(score->notes[2].symbol, "ka");
}

TEST_F(SynthV6Test, ChainedSegmentsRunOneAfterAnother)
{
    const std::string path = bank();
    synthtest::SynthSegment first(0), second(1920);
    for (synthtest::SynthSegment* s : {&first, &second}) {
        s->add(0, 480, 60, "ka");
        s->add(480, 480, 60, "ma");
    }
    std::unique_ptr<ISynth> a(makeTimbreSynth<Synth_v6>(path)), b(makeTimbreSynth<Synth_v6>(path));
    ASSERT_TRUE(a->loadSegment(&first.seg, first.tempos, 0, 1920, 0.3f));
    ASSERT_TRUE(b->loadSegment(&second.seg, second.tempos, 0, 1920, 0.3f));
    ChainSynthMgr chain;
    chain.beginTrack();
    chain.addSynth(a.get());
    chain.addSynth(b.get());
    a->start();
    // Only the first was started: the second runs because the first finished.
    ASSERT_TRUE(eventually([&] { return a->samplesReady() == INT_MAX && b->samplesReady() == INT_MAX; }));
    EXPECT_FALSE(a->isReady());
    EXPECT_FALSE(b->isReady());
    a->stop();
    b->stop();
    ASSERT_TRUE(eventually([&] { return a->isReady() && b->isReady(); }));
    chain.clear();
}

TEST_F(SynthV6Test, ASegmentThatCannotBeLaidOutAfterASungOneHasNoOutput)
{
    std::unique_ptr<ISynth> synth(makeTimbreSynth<Synth_v6>(bank()));
    synthtest::SynthSegment sung(0);
    sung.add(0, 480, 60, "ka");
    ASSERT_TRUE(synth->loadSegment(&sung.seg, sung.tempos, 0, 1920, 0.3f));
    synth->start();
    ASSERT_TRUE(eventually([&] { return synth->samplesReady() == INT_MAX; }));
    int count = 0;
    synth->getOutput(&count);
    ASSERT_GT(count, 0);
    synth->stop();
    ASSERT_TRUE(eventually([&] { return synth->isReady(); }));
    // A note 1e9 ticks in, about 1e6 s at 120 BPM: beyond any output. An
    // export names a segment whose output is empty as not sung.
    synthtest::SynthSegment far(0, 1000000480);
    far.add(1000000000, 480, 60, "ka");
    synth->loadSegment(&far.seg, far.tempos, 0, far.seg.width, 0.3f);
    synth->getOutput(&count);
    EXPECT_EQ(count, 0);
}

}  // namespace

TEST_F(SynthV6Test, CoreGivesOneTimingRecordPerNote)
{
    std::unique_ptr<ISynth> synth(programSynthMakers().at("6.1")(bank(1)));
    auto* core = dynamic_cast<Synth_V6_core_v6*>(dynamic_cast<Synth_v6*>(synth.get())->core());
    ASSERT_NE(core, nullptr);
    HalvorenEngine::SynthScoreV3& score = *core->score();
    score.leadIn = 0.25f;
    for (const char* symbol : {"ka", "ma", "ka"}) {
        HalvorenEngine::SynthNoteV3 n;
        n.symbol = symbol;
        n.timbre = "C4";
        n.start = static_cast<float>(score.notes.size()) * 0.5f;
        n.duration = 0.5f;
        score.notes.push_back(n);
    }
    std::vector<HalvorenEngine::NoteTimes> times;
    core->prepareCells(score, times);
    ASSERT_EQ(times.size(), 3u);
    for (std::size_t k = 0; k < times.size(); ++k) {
        const auto& v = times[k].values;
        // Starts half a second apart (within a hop of 128 at 44100 Hz).
        EXPECT_NEAR(v[0], 0.5f * static_cast<float>(k), 128.0f / 44100.0f) << k;
        EXPECT_NEAR(v[5] + v[6] + v[7], v[4], 1e-5f) << k;
        EXPECT_GT(v[4], 0.0f) << k;
    }
}
