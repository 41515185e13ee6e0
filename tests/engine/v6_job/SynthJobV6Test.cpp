#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>

#include "engine/EngineManager.h"
#include "engine/v6/HVSynthesizer.h"
#include "lyrics/NullSymbolMgr.h"
#include "lyrics/v6/CVVCMgr.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBankV6.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/TestGeneration.h"

namespace {

using HalvorenEngineTest::eventually;
using HalvorenEngineV6::HVSynthesizer;

// What the stand-in cell maker saw, for all jobs of a test, and the gate it
// passes as it begins each cell (counted from 0).
std::atomic<int> g_cellsMade{0};
HalvorenEngineTest::StepGate g_gate;

void countingCellMaker(const HalvorenEngineV6::CellRecord&, HalvorenEngineV6::CellMakerState&,
                       HalvorenEngine::CellListCache&)
{
    g_gate.pass(g_cellsMade.load());
    ++g_cellsMade;
}

// Remembers how many cells were made when the job said it was done.
struct DoneListener : HalvorenEngine::HVSynthListener {
    void onJobDone() override
    {
        cellsAtDone = g_cellsMade.load();
        ++calls;
    }
    std::atomic<int> calls{0};
    std::atomic<int> cellsAtDone{-1};
};

class SynthJobV6Test : public enginetest::ManagedBankTest<> {
protected:
    SynthJobV6Test() : ManagedBankTest("v6_job")
    {
        g_cellsMade = 0;
        g_gate.close(-1);
    }

    // The phrase bank of format 6.1 at hop 128 with the header changes given.
    std::string bank(std::int32_t hop = 128, float rate = 44100.0f, std::int32_t layoutBands = 60,
                     const std::string& table = "ka,k,a;ma,m,a|m||a,a|br1")
    {
        testbank::SingingBankV6 b = testbank::phraseBankV6(1, 128);
        b.header.hopSize = hop;
        b.header.sampleRate = rate;
        b.layoutBands = layoutBands;
        b.table = table;
        const auto folder =
            tree_.addPackage("b" + std::to_string(banks_++), "6.1", "B", testbank::writeSingingBankV6(b));
        return testbank::packageBasePath(folder);
    }

    // n notes of 0.1 s, alternating "ka" and "ma", joined in pairs.
    static void notes(HVSynthesizer& synth, int n)
    {
        HalvorenEngine::SynthScoreV3& score = synth.score();
        score.clear();
        score.leadIn = 0.2f;
        for (int i = 0; i < n; ++i) {
            HalvorenEngine::SynthNoteV3 note;
            note.symbol = i % 2 == 0 ? "ka" : "ma";
            note.timbre = "C4";
            note.start = 0.1f * static_cast<float>(i);
            note.duration = 0.1f;
            note.breakAfter = i % 2;
            score.notes.push_back(note);
        }
    }

    int banks_ = 0;
};

TEST_F(SynthJobV6Test, FactoryPutsTheFrontOnTheLiveList)
{
    const std::size_t before = manager_.liveCount();
    HalvorenEngine::IHVSynthesizer* synth = HalvorenEngineV6::createSynthesizerV6(bank());
    ASSERT_NE(synth, nullptr);
    auto* v6 = dynamic_cast<HVSynthesizer*>(synth);
    ASSERT_NE(v6, nullptr);
    EXPECT_EQ(manager_.liveCount(), before + 1);
    EXPECT_TRUE(synth->isReady());
    // Frame 512, the bank's hop and rate.
    EXPECT_EQ(v6->body().frameSize(), 512);
    EXPECT_EQ(v6->body().hop(), 128);
    EXPECT_EQ(v6->body().sampleRate(), 44100.0f);
    v6->setSynthText("segment");
    EXPECT_EQ(v6->body().synthText(), "segment");
    manager_.releaseSynthesizer(synth);
}

TEST_F(SynthJobV6Test, LanguageTextPicksTheSymbolManager)
{
    HVSynthesizer chinese(bank(128, 44100.0f, 60, "CHN"), &countingCellMaker);
    HVSynthesizer table(bank(), &countingCellMaker);
    Halvoren::ISymbolMgr& none = chinese.body().cellMakerState().symbols();
    EXPECT_NE(dynamic_cast<Halvoren::NullSymbolMgr*>(&none), nullptr);
    EXPECT_FALSE(none.isValidSymbol("ka"));
    Halvoren::ISymbolMgr& parsed = table.body().cellMakerState().symbols();
    EXPECT_NE(dynamic_cast<HalvorenEngineV6::CVVCMgr*>(&parsed), nullptr);
    EXPECT_TRUE(parsed.isValidSymbol("ka"));

    // A "CHN" bank still walks its notes into cells and finishes.
    notes(chinese, 3);
    DoneListener listener;
    chinese.setListener(&listener);
    chinese.start();
    ASSERT_TRUE(eventually([&] { return listener.calls.load() == 1; }));
    EXPECT_EQ(listener.cellsAtDone.load(), 3);
    ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(chinese));
}

TEST_F(SynthJobV6Test, DoneComesOnceAfterEveryCell)
{
    HVSynthesizer synth(bank(), &countingCellMaker);
    notes(synth, 7);
    DoneListener listener;
    synth.setListener(&listener);
    synth.start();
    ASSERT_TRUE(eventually([&] { return listener.calls.load() == 1; }));
    EXPECT_EQ(listener.cellsAtDone.load(), 7);
    EXPECT_EQ(synth.samplesReady(), 2147483647);
    ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(synth));
    EXPECT_EQ(listener.calls.load(), 1);
    // Joined pairs: the walk wrote the clamped factors back.
    EXPECT_EQ(synth.score().notes[0].elemTime0, 0.0f);
}

TEST_F(SynthJobV6Test, StopEndsAfterTheCurrentCellWithoutDone)
{
    HVSynthesizer synth(bank(), &countingCellMaker);
    notes(synth, 40);
    DoneListener listener;
    synth.setListener(&listener);
    // The stop comes while the third cell is being made.
    g_gate.close(2);
    ASSERT_TRUE(HalvorenEngineTest::stoppedInStep(synth, g_gate));
    // That cell still finishes; no other is made.
    EXPECT_EQ(g_cellsMade.load(), 3);
    EXPECT_EQ(listener.calls.load(), 0);
}

TEST_F(SynthJobV6Test, RefusedBankMakesNoCellAndStillFinishes)
{
    const struct {
        const char* what;
        std::int32_t hop;
        float rate;
        std::int32_t layoutBands;
    } cases[] = {
        {"hop 0", 0, 44100.0f, 60},
        {"hop 300", 300, 44100.0f, 60},
        {"rate 0", 128, 0.0f, 60},
        {"34 layout bands", 128, 44100.0f, 34},
    };
    for (const auto& c : cases) {
        std::ostringstream log;
        HVSynthesizer synth(bank(c.hop, c.rate, c.layoutBands), &countingCellMaker, log);
        // One line: the store's message.
        const std::string said = log.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << c.what << ": " << said;
        notes(synth, 3);
        DoneListener listener;
        synth.setListener(&listener);
        synth.start();
        ASSERT_TRUE(eventually([&] { return listener.calls.load() == 1; })) << c.what;
        EXPECT_EQ(g_cellsMade.load(), 0) << c.what;
        ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(synth));
        EXPECT_EQ(listener.calls.load(), 1) << c.what;
    }
}

}  // namespace
