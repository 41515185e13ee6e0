// First- and second-generation jobs on their worker threads: a refused bank
// still finishes, hostile marks cannot make unbounded cells, and a stop
// right after the start is cleaned up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "engine/v1/HVSynthesizer.h"
#include "engine/v2/HVSynthesizer.h"
#include "support/bank/BankTree.h"
#include "support/bank/HprSingingBank.h"
#include "support/engine/OutputMeasures.h"
#include "support/engine/PhraseRun.h"
#include "support/engine/TestGeneration.h"

namespace {

using HalvorenEngineTest::CountingListener;
using HalvorenEngineTest::eventually;

// "ma" for 1 s at 220 Hz after a lead-in of 1.5 s.
template <class Score>
void oneNote(Score& score)
{
    score.clear();
    score.leadIn = 1.5f;
    HalvorenEngine::SynthNoteV1 note;
    note.start = 0.0f;
    note.duration = 1.0f;
    note.symbol = "ma";
    note.pitch = "G4";
    score.notes.push_back(note);
    score.pitch = {{0.0f, 220.0f}, {1.0f, 220.0f}};
}

struct Bank {
    Bank(const std::string& tag, const testbank::PackageFiles& files) : tree(tag)
    {
        path = testbank::packageBasePath(tree.addPackage("b", "1", "B", files));
    }
    testbank::BankTree tree;
    std::string path;
};

// Runs the front to its end; the samples, or empty when it did not finish.
template <class Front>
std::vector<short> runToEnd(Front& front, CountingListener& listener)
{
    front.setListener(&listener);
    front.prepare();
    front.start();
    if (!eventually([&] { return listener.calls.load() == 1; }))
        return {};
    return HalvorenEngineTest::outputOf(front);
}

TEST(CellJob, RefusedBankMakesNoFrameAndStillFinishes)
{
    for (int generation : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "generation " << generation);
        testbank::HprSingingOptions options;
        options.generation = generation;
        options.hop = 0;
        Bank bank("v1v2_refused", testbank::writeHprSingingBank(options));
        CountingListener listener;
        std::vector<short> out;
        if (generation == 1) {
            HalvorenEngineV1::HVSynthesizer front(bank.path);
            oneNote(front.score());
            out = runToEnd(front, listener);
            EXPECT_EQ(front.samplesReady(), 2147483647);
            EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(front));
        } else {
            HalvorenEngineV2::HVSynthesizer front(bank.path);
            oneNote(front.score());
            out = runToEnd(front, listener);
            EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(front));
        }
        // Planned at 44100 Hz and hop 256: trunc((1 * 44100 + 66150) / 256) + 1 = 431 frames.
        ASSERT_EQ(out.size(), std::size_t(432 * 256));
        for (short s : out)
            ASSERT_EQ(s, 0);
    }
}

TEST(CellJob, SameSamplesEveryRun)
{
    for (int generation : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "generation " << generation);
        testbank::HprSingingOptions options;
        options.generation = generation;
        Bank bank("v1v2_same", testbank::writeHprSingingBank(options));
        enginetest::expectSameSamplesEveryRun(
            [&]() -> HalvorenEngine::IHVSynthesizer* {
                if (generation == 1) {
                    auto* front = new HalvorenEngineV1::HVSynthesizer(bank.path);
                    oneNote(front->score());
                    return front;
                }
                auto* front = new HalvorenEngineV2::HVSynthesizer(bank.path);
                oneNote(front->score());
                return front;
            },
            [](HalvorenEngine::IHVSynthesizer* front) { delete front; });
    }
}

TEST(CellJob, HostileMarksMakeBoundedCells)
{
    // An onset stretched a million times, a tail of two billion frames and a
    // loop region running backwards.
    const testbank::PeakListFrame frame{{220.0f}, {-20.0f}, {0.0f}};
    const std::string material = testbank::peakListMaterial({frame, frame}, testbank::seededNoise(3 * 256, 9));
    const std::string voice = testbank::hprVoiceRecord<12>(
        {0, 5, 40, 10, 2000000000, testbank::floatBits(1e6f), 20, 10, testbank::floatBits(0.001f), 256, 0, 0},
        material);
    testbank::HprBankDescription description;
    description.variants = {{"ma", "A3", 0, voice}};
    Bank bank("v1v2_hostile", testbank::writeHprPackage(description));
    HalvorenEngineV1::HVSynthesizer front(bank.path);
    oneNote(front.score());
    CountingListener listener;
    const std::vector<short> out = runToEnd(front, listener);
    ASSERT_FALSE(out.empty());
    // 432 frames laid out: at most 4 cells a frame and 64 more.
    EXPECT_LE(front.body().queue().linked(), std::size_t(4 * 432 + 64));
    EXPECT_GT(front.body().queue().linked(), 0u);
    EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(front));
}

TEST(CellJob, StopRightAfterStartIsCleanedUpAndCanRunAgain)
{
    Bank bank("v1v2_stop", testbank::writeHprSingingBank({}));
    HalvorenEngineV1::HVSynthesizer front(bank.path);
    oneNote(front.score());
    CountingListener listener;
    front.setListener(&listener);
    front.start();
    EXPECT_FALSE(front.isReady());
    EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(front));
    EXPECT_EQ(front.body().sources().size(), 0u);
    // After the clean-up the listener is gone: a new run needs it again.
    const std::vector<short> out = runToEnd(front, listener);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(listener.calls.load(), 1);
    EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(front));
}


TEST(CellJob, OnsetBeforeTheOutputStartIsLeftOutAndTheJobFinishes)
{
    // No lead-in: the first note starts at frame 0 and its onset of 5 frames
    // (marks 0..5, param7 1) would begin at frame -5.
    Bank bank("v1v2_early", testbank::writeHprSingingBank({}));
    HalvorenEngineV1::HVSynthesizer front(bank.path);
    oneNote(front.score());
    front.score().leadIn = 0.0f;
    CountingListener listener;
    const std::vector<short> out = runToEnd(front, listener);
    // trunc(1 * 44100 / 256) + 1 = 173 frames: 174 hops.
    ASSERT_EQ(out.size(), std::size_t(174 * 256));
    int loudest = 0;
    for (short s : out)
        loudest = std::max(loudest, std::abs(int(s)));
    EXPECT_GT(loudest, 300);
    EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(front));
}

TEST(CellJob, SingsCleanlyAtTheLargestHop)
{
    // Voices whose first 10 frames are noise alone, 20 dB under full scale
    // (peak), and whose vowel lies over that noise (a breathy vowel).
    for (int generation : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "generation " << generation);
        std::vector<short> out[2];
        enginetest::NoisyStretches stretches[2];
        for (int k = 0; k < 2; ++k) {
            const int hop = 128 << k;
            testbank::HprSingingOptions options;
            options.generation = generation;
            options.hop = hop;
            options.unvoicedHead = 10;
            options.noiseGain = 32;
            Bank bank("v1v2_noisy" + std::to_string(hop), testbank::writeHprSingingBank(options));
            CountingListener listener;
            if (generation == 1) {
                HalvorenEngineV1::HVSynthesizer front(bank.path);
                oneNote(front.score());
                out[k] = runToEnd(front, listener);
            } else {
                HalvorenEngineV2::HVSynthesizer front(bank.path);
                oneNote(front.score());
                out[k] = runToEnd(front, listener);
            }
            ASSERT_FALSE(out[k].empty());
            // The head from the first sound; the vowel over the middle of the note.
            int first = 0;
            while (first < int(out[k].size()) && std::abs(out[k][first]) <= 2)
                ++first;
            stretches[k] = {{{first + hop, first + 9 * hop}}, {int(44100 * 1.8), int(44100 * 2.2)}};
            // The first generation's 4096-point frames are all but flat
            // over the 2 hops the writer takes of them: it starts on a step.
            if (generation == 2)
                enginetest::expectSoundFadesNextToSilence(out[k], hop);
        }
        enginetest::expectCleanAtALargeHop(out[0], stretches[0], out[1], stretches[1], 256);
    }
}

}  // namespace
