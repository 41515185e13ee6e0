// Banks "1" and "2" sing: the version table's choice, a chained pair of
// segments, and a phrase through the segment manager measured on the
// output.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "engine/v1/HVSynthesizer.h"
#include "engine/v1/NotePlanning.h"
#include "engine/v2/HVSynthesizer.h"
#include "render/synth/FillNotesFromSynth.h"
#include "render/synth/SegmentSynthMgr.h"
#include "render/synth/Synth_v1.h"
#include "render/synth/SynthVersionTable.h"
#include "render/synth/SynthSegment.h"
#include "support/bank/BankTree.h"
#include "support/bank/HprSingingBank.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/SinusoidFit.h"
#include "support/render/ChainRun.h"
#include "support/engine/TestGeneration.h"
#include "voicebank/Singer.h"
#include "voicebank/SingerMgr.h"

namespace {

using HalvorenEngineTest::eventually;
using HalvorenEngineTest::outputOf;
using namespace HVCurrentModel;

constexpr double kRate = 44100.0;

class SingV1V2Test : public enginetest::ManagedBankTest<> {
protected:
    SingV1V2Test() : ManagedBankTest("sing_v1v2") {}
    ~SingV1V2Test() override { getSingerList()->clearSingers(); }

    // The singing bank of the generation, installed as singer "G<generation>".
    std::string bank(int generation, std::int32_t hop = 256)
    {
        testbank::HprSingingOptions options;
        options.generation = generation;
        options.hop = hop;
        const std::string version = std::to_string(generation);
        const auto folder = tree_.addPackage("b" + version + "h" + std::to_string(hop), version, "G" + version,
                                             testbank::writeHprSingingBank(options));
        const std::string path = testbank::packageBasePath(folder);
        auto* singer = new Singer();
        Json::Value description(Json::objectValue);
        description["version"] = version;
        description["name"] = "G" + version;
        description["path"] = path;
        singer->fromJson(description);
        getSingerList()->addSinger(singer);
        return path;
    }
};

TEST_F(SingV1V2Test, VersionsOneAndTwoMakeTheirGenerations)
{
    const SynthMakerTable table = programSynthMakers();
    const std::string one = bank(1);
    const std::string two = bank(2);
    std::unique_ptr<ISynth> a(table.at("1")(one));
    std::unique_ptr<ISynth> b(table.at("2")(two));
    auto* v1 = dynamic_cast<Synth_v1*>(a.get());
    auto* v2 = dynamic_cast<Synth_v2*>(b.get());
    ASSERT_NE(v1, nullptr);
    ASSERT_NE(v2, nullptr);
    EXPECT_TRUE(a->isReady());
    EXPECT_TRUE(b->isReady());
    EXPECT_EQ(table.count("1.0"), 0u);
}

// A segment at tick 0 (120 BPM: 480 ticks are 0.5 s).
struct Phrase : synthtest::SynthSegment {
    explicit Phrase(int width = 3840) : SynthSegment(0, width) {}
};

// The level in dB of the partial at hz over blocks of 2048 samples (a
// Hann-windowed transform at that one frequency, which keeps the partials
// around it out) every 512 samples of x[from .. to): loudest minus quietest.
double partialLevelSpreadDb(const std::vector<short>& x, int from, int to, double hz)
{
    constexpr int kBlock = 2048;
    double lo = 1e9, hi = -1e9;
    for (int s = from; s + kBlock <= to; s += 512) {
        const double db = 20.0 * std::log10(enginetest::hannLevel(x, s, s + kBlock, hz, kRate));
        lo = std::min(lo, db);
        hi = std::max(hi, db);
    }
    return hi - lo;
}

TEST_F(SingV1V2Test, ChainedSegmentsSingOneAfterAnother)
{
    for (int generation : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "generation " << generation);
        const std::string path = bank(generation);
        Phrase first(1920), second(1920);
        first.add(0, 480, 58, "ma");
        second.add(0, 480, 55, "la");
        const SynthMakerTable table = programSynthMakers();
        std::unique_ptr<ISynth> a(table.at(std::to_string(generation))(path));
        std::unique_ptr<ISynth> b(table.at(std::to_string(generation))(path));
        ASSERT_TRUE(a->loadSegment(&first.seg, first.tempos, 0, 1920, 0.3f));
        ASSERT_TRUE(b->loadSegment(&second.seg, second.tempos, 0, 1920, 0.3f));
        rendertest::expectChainSings(*a, *b);
    }
}


// "ma" A3, "a" C4 (joined to the "ma" before it), a rest of 1 s, "la" E4 and
// "ma" G3 (joined through the continuant "a_m", below the recorded pitch).
struct SungNote {
    int pos;
    int width;
    int key;
    const char* symbol;
    double hz;
    bool legato;       // the previous source was joined to this syllable (second generation)
    bool zeroInitial;
};
const SungNote kPhrase[] = {
    {0, 480, 58, "ma", 220.0, false, false},
    {480, 480, 55, "a", 261.6256, true, true},
    {1920, 480, 51, "la", 329.6276, false, false},
    {2400, 480, 60, "ma", 195.9977, true, false},
};
constexpr float kLeadIn = 1.5f;
// 479 ticks at 960 ticks a second.
constexpr float kDuration = 479.0f / 960.0f;

// The output frames each note's cells fill, [S - o, S + n + 1), from the
// voices' marks (head 0..5, param7 1, ratios 0.5).
std::vector<std::pair<int, int>> noteFrames(int generation, int hop)
{
    HalvorenEngineV1::SourceMarks marks;
    marks.endPos = 5;
    marks.param7 = 1.0f;
    std::vector<HalvorenEngineV1::NoteInput> inputs;
    for (const SungNote& n : kPhrase)
        inputs.push_back({&marks, float(n.pos) / 960.0f, kDuration, n.legato, n.zeroInitial});
    const auto g = generation == 1 ? HalvorenEngineV1::Generation::First : HalvorenEngineV1::Generation::Second;
    std::vector<std::pair<int, int>> spans;
    for (const auto& p : HalvorenEngineV1::planNotes(g, inputs, float(kRate), hop, kLeadIn))
        spans.emplace_back(p.plan.start - p.plan.onset, p.plan.start + p.plan.count + 1);
    return spans;
}

TEST_F(SingV1V2Test, PhraseSingsThroughTheSegmentManager)
{
    // The second generation also at its largest hop, where its frames of 512
    // samples are overlap-added with no margin at their window's ends.
    for (const auto& [generation, hop] : {std::pair{1, 256}, std::pair{2, 128}, std::pair{2, 256}}) {
        SCOPED_TRACE(testing::Message() << "generation " << generation << " hop " << hop);
        getSingerList()->clearSingers();
        bank(generation, hop);
        Phrase phrase;
        phrase.seg.singer = "G" + std::to_string(generation);
        for (const SungNote& n : kPhrase)
            phrase.add(n.pos, n.width, n.key, n.symbol);
        SegmentSynthMgr mgr;
        auto sing = [&] {
            ISynth* synth = mgr.getSynth(&phrase.seg);
            EXPECT_NE(synth, nullptr);
            if (synth == nullptr || !synth->loadSegment(&phrase.seg, phrase.tempos, 0, 3840, kLeadIn))
                return std::vector<short>{};
            synth->start();
            EXPECT_TRUE(eventually([&] { return synth->samplesReady() == INT_MAX; }));
            std::vector<NoteTimesRec> times{NoteTimesRec{}};
            synth->getNoteTimes(&phrase.seg, phrase.tempos, 0, 3840, kLeadIn, times);
            EXPECT_TRUE(times.empty());
            std::vector<short> out = outputOf(*synth);
            EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(*synth));
            return out;
        };
        const std::vector<short> out = sing();
        ASSERT_FALSE(out.empty());

        // Nothing outside the frames the notes' cells fill.
        const auto spans = noteFrames(generation, hop);
        ASSERT_EQ(spans.size(), 4u);
        for (std::size_t i = 0; i < out.size(); ++i) {
            const int frame = int(i) / hop;
            const bool inside = std::any_of(spans.begin(), spans.end(),
                                            [&](const auto& s) { return frame >= s.first && frame < s.second; });
            if (!inside) {
                ASSERT_EQ(out[i], 0) << "sample " << i;
            }
        }
        for (const SungNote& n : kPhrase) {
            SCOPED_TRACE(n.symbol + std::string(" at ") + std::to_string(n.hz));
            const double start = (kLeadIn + n.pos / 960.0) * kRate;
            const int from = int(start + 0.25 * kDuration * kRate);
            const int to = int(start + 0.75 * kDuration * kRate);
            const auto m = enginetest::measureSinusoid(out, from, to, n.hz, kRate);
            EXPECT_NEAR(m.frequency, n.hz, 0.005 * n.hz);
            EXPECT_LT(partialLevelSpreadDb(out, from, to, m.frequency), 0.5);
            // The step from the last sample of one hop to the first of the
            // next, where one cell's frame gives way to the next one's, is
            // no larger than the steps inside the hops: no click at a join.
            double energy = 0.0;
            int insideStep = 0;
            int joinStep = 0;
            for (int k = from + 1; k < to; ++k) {
                energy += double(out[k]) * out[k];
                const int step = std::abs(int(out[k]) - int(out[k - 1]));
                int& largest = k % hop == 0 ? joinStep : insideStep;
                largest = std::max(largest, step);
                ASSERT_LT(std::abs(int(out[k])), 32767) << k;
            }
            const double rms = std::sqrt(energy / (to - from - 1));
            EXPECT_GT(rms, 100.0);
            EXPECT_LE(joinStep, insideStep);
            EXPECT_LT(insideStep, 6.0 * rms);
        }
        EXPECT_EQ(sing(), out);  // a second run, bit for bit
    }
}

// The plan of banks "1" and "2" ("ma", "a", "la" and the continuant "a_m"):
// one untimed entry per note record, sung when the bank has its syllable;
// the notes' timing does not change.
TEST_F(SingV1V2Test, ThePlanNamesTheNotesWhoseSyllableTheBankLacks)
{
    struct Planned {
        const char* symbol;
        bool sung;
    };
    for (int generation : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "generation " << generation);
        std::unique_ptr<ISynth> synth(programSynthMakers().at(std::to_string(generation))(bank(generation)));
        Phrase phrase;
        Note& ma = phrase.add(0, 480, 58, "ma");
        Note& ka = phrase.add(480, 480, 58, "ka");
        Note& held = phrase.add(960, 240, 58, "xyz");  // not pinyin: lengthens "ka"
        Note& empty = phrase.add(1200, 240, 58, "");  // sung as "la"
        Note& a = phrase.add(1440, 480, 58, "a_m");  // a continuant's name is no syllable
        held.renderFlag = true;
        const std::vector<Planned> expected = {{"ma", true}, {"ka", false}, {"", true}};
        const std::vector<Note*> notes = {&ma, &ka, &empty};
        std::vector<NoteTimesRec> plan(1);
        synth->getNoteTimes(&phrase.seg, phrase.tempos, 0, 3840, 1.5f, plan);
        ASSERT_EQ(plan.size(), expected.size());
        for (std::size_t i = 0; i < plan.size(); ++i) {
            EXPECT_EQ(plan[i].note, notes[i]) << i;
            EXPECT_EQ(plan[i].sung, expected[i].sung) << expected[i].symbol;
            EXPECT_FALSE(plan[i].timed) << i;
            EXPECT_TRUE(plan[i].note->renderFlag) << i;
        }
        EXPECT_FALSE(held.renderFlag);
        EXPECT_FALSE(a.renderFlag);
        // The range is the loaded one: from tick 480 on, "ka" is the first.
        synth->getNoteTimes(&phrase.seg, phrase.tempos, 480, 3840, 1.5f, plan);
        ASSERT_FALSE(plan.empty());
        EXPECT_EQ(plan[0].note, &ka);
        fillNotesFromSynth(&phrase.seg, synth.get(), phrase.tempos);
        EXPECT_EQ(ma.elemTimeTable, (std::array<std::int32_t, 8>{}));
        // While the job sings, its bank is not asked.
        ASSERT_TRUE(synth->loadSegment(&phrase.seg, phrase.tempos, 0, 3840, 1.5f));
        synth->start();
        EXPECT_TRUE(eventually([&] { return synth->samplesReady() == INT_MAX; }));
        std::vector<NoteTimesRec> running(1);
        synth->getNoteTimes(&phrase.seg, phrase.tempos, 0, 3840, 1.5f, running);  // not idle: nothing
        EXPECT_TRUE(running.empty());
        EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(*synth));
    }
}


}  // namespace
