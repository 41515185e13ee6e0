#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "BankFixture.h"
#include "render/synth/ChainSynthMgr.h"
#include "render/synth/SegmentSynthMgr.h"
#include "support/engine/TestCore.h"

namespace {

using namespace synthtest;
using namespace HalvorenEngineTest;

class ChainTest : public BankFixture {
protected:
    ChainTest() { projtestNote(seg_); }

    static void projtestNote(HVCurrentModel::SingSegment& seg)
    {
        auto* n = new HVCurrentModel::Note();
        n->pos = 0, n->width = 240, n->key = 58, n->phoneticSymbol = "ba";
        seg.notes.insertSorted(n);
    }

    // A loaded synthesizer whose job (a 0.25 s note at 1000 Hz) holds at its
    // second frame while hold is set.
    std::unique_ptr<TestSynthV1> loaded(std::atomic<bool>* hold = nullptr)
    {
        TestConfig config{.frameDelayUs = 100};
        if (hold != nullptr)
            config.holdAtFrame = 1, config.hold = hold;
        auto synth = std::make_unique<TestSynthV1>(config);
        EXPECT_TRUE(synth->loadSegment(&seg_, tempos_, 0, 1920, 0.0f));
        return synth;
    }
    static SynthJobTest& body(ISynth* synth) { return static_cast<TestSynthV1*>(synth)->front()->score(); }

    HVCurrentModel::Tempo tempo_{0, 12000, false};
    std::vector<HVCurrentModel::Tempo*> tempos_{&tempo_};
    HVCurrentModel::SingSegment seg_{0, 1920};
};

TEST_F(ChainTest, TracksRunSideBySideAndTheirSegmentsOneAfterAnother)
{
    std::atomic<bool> holdA{true}, holdB{true};
    auto a1 = loaded(&holdA), a2 = loaded(), b1 = loaded(&holdB), b2 = loaded();
    ChainSynthMgr chain;
    chain.beginTrack();
    chain.addSynth(a1.get());
    chain.addSynth(a2.get());
    chain.beginTrack();
    chain.addSynth(b1.get());
    chain.addSynth(b2.get());

    a1->start();
    b1->start();
    // Both first segments are inside their jobs at once; no second one began.
    ASSERT_TRUE(eventually([&] { return a1->samplesDone() > 0 && b1->samplesDone() > 0; }));
    EXPECT_EQ(body(a2.get()).starts, 0);
    EXPECT_EQ(body(b2.get()).starts, 0);

    holdA = false;  // A1 ends, which starts A2 only
    ASSERT_TRUE(eventually([&] { return body(a2.get()).finishes == 1; }));
    EXPECT_EQ(body(a1.get()).finishes, 1);
    EXPECT_EQ(body(b1.get()).finishes, 0);
    EXPECT_EQ(body(b2.get()).starts, 0);

    holdB = false;
    ASSERT_TRUE(eventually([&] { return body(b2.get()).finishes == 1; }));
    for (auto* synth : {a1.get(), a2.get(), b1.get(), b2.get()}) {
        synth->stop();  // waits for any completion call still running
        EXPECT_EQ(body(synth).starts, 1);
    }
    chain.clear();
    EXPECT_EQ(a1->getCallback(), nullptr);
    EXPECT_EQ(b2->getCallback(), nullptr);
}

TEST_F(ChainTest, LoneOrUnchainedSynthesizerStartsNothing)
{
    auto lone = loaded(), other = loaded(), unchained = loaded();
    ChainSynthMgr chain;
    chain.beginTrack();
    chain.addSynth(lone.get());
    chain.beginTrack();
    chain.addSynth(other.get());

    lone->start();
    unchained->start();
    ASSERT_TRUE(eventually([&] { return body(lone.get()).finishes == 1 && body(unchained.get()).finishes == 1; }));
    lone->stop();
    unchained->stop();
    EXPECT_EQ(body(other.get()).starts, 0);
    chain.clear();
}

// A successor deleted by its manager while its predecessor's completion may
// be starting it: the chain forgets it first and waits for that start.
TEST_F(ChainTest, SuccessorRenewedWhileItsPredecessorFinishes)
{
    addSinger("A", "1");
    SynthMakerTable table;
    table["1"] = [](const std::string&) -> ISynth* { return new TestSynthV1({.frameDelayUs = 20}); };
    SegmentSynthMgr mgr(table);
    HVCurrentModel::SingSegment seg1(0, 1920), seg2(1920, 1920);
    seg1.singer = seg2.singer = "A";
    projtestNote(seg1);
    projtestNote(seg2);
    ChainSynthMgr chain;
    for (int run = 0; run < 20; ++run) {
        ISynth* s1 = mgr.getSynth(&seg1);
        ISynth* s2 = mgr.getSynth(&seg2);
        ASSERT_NE(s1, nullptr);
        ASSERT_NE(s2, nullptr);
        ASSERT_TRUE(s1->loadSegment(&seg1, tempos_, 0, 1920, 0.0f));
        ASSERT_TRUE(s2->loadSegment(&seg2, tempos_, 0, 1920, 0.0f));
        chain.clear();
        chain.beginTrack();
        chain.addSynth(s1);
        chain.addSynth(s2);

        const int finished = body(s1).finishes;  // s1 is reused while it is ready
        s1->start();
        std::this_thread::sleep_for(std::chrono::microseconds(100 * run));
        ISynth* fresh = mgr.renewSynth(&seg2);
        ASSERT_NE(fresh, nullptr);
        ASSERT_TRUE(eventually([&] { return body(s1).finishes == finished + 1; })) << run;
        s1->stop();
        EXPECT_EQ(body(fresh).starts, 0) << run;  // not on the chain
        ASSERT_TRUE(eventually([&] { return s1->isReady(); })) << run;
    }
    chain.clear();
    mgr.clear();
}

}  // namespace
