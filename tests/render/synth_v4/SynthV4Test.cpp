#include <gtest/gtest.h>

#include "render/synth/SynthSegment.h"
#include "render/synth/SynthVersionTable.h"
#include "render/synth/Synth_v4.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBank.h"
#include "support/render/ChainRun.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/TestGeneration.h"

namespace {

class SynthV4Test : public enginetest::ManagedBankTest<> {
protected:
    SynthV4Test() : ManagedBankTest("synth_v4") {}

    std::string bank(const std::string& version = "4.0")
    {
        const auto folder = tree_.addPackage("b" + std::to_string(banks_++), version, "B",
                                             testbank::writeSingingBank(testbank::cvvcBankV4(128)));
        return testbank::packageBasePath(folder);
    }

    int banks_ = 0;
};

// A segment of two "ma" notes, a quarter note each at 120 bpm, the second
// after a quarter rest.
struct Segment : synthtest::SynthSegment {
    explicit Segment(int pos = 0) : SynthSegment(pos)
    {
        add(0, 480, 60, "ma");
        add(960, 480, 60, "ma");
    }
};

TEST_F(SynthV4Test, VersionsFourMakeTheFourthGenerationAndReadTheirTiming)
{
    const SynthMakerTable table = programSynthMakers();
    for (const char* version : {"4.0", "4.01", "4.02", "4.03"}) {
        SCOPED_TRACE(version);
        const auto row = table.find(version);
        ASSERT_NE(row, table.end());
        std::unique_ptr<ISynth> synth(row->second(bank(version)));
        auto* v4 = dynamic_cast<Synth_v4*>(synth.get());
        ASSERT_NE(v4, nullptr);
        auto* core = dynamic_cast<Synth_V4_core_v4*>(v4->core());
        ASSERT_NE(core, nullptr);
        ASSERT_NE(core->engine(), nullptr);
        EXPECT_NE(core->score(), nullptr);
        EXPECT_TRUE(core->isValidSymbol("ma"));
        EXPECT_FALSE(core->isValidSymbol("qqq"));

        // Timing: each note's cell starts at its own time (lead-in 0.3 s
        // cancels out) to within a frame, 128 / 44100 s, and lasts to its
        // last tick: 479 ticks at 960 a second, 0.499 s, 171 whole frames.
        Segment s;
        std::vector<NoteTimesRec> times;
        v4->getNoteTimes(&s.seg, s.tempos, 0, 1920, 0.3f, times);
        ASSERT_EQ(times.size(), 2u);
        const float frame = 128.0f / 44100.0f;
        EXPECT_NEAR(times[0].values[0], 0.0f, frame);
        EXPECT_NEAR(times[1].values[0], 1.0f, frame);
        for (const NoteTimesRec& t : times) {
            EXPECT_NEAR(t.values[4], 171 * frame, 1e-4f);
            EXPECT_NEAR(t.values[5] + t.values[6] + t.values[7], t.values[4], 1e-4f);
            EXPECT_GT(t.values[3], 0.0f);  // "m" is sung before the note
        }
    }
    for (const char* version : {"4", "4.00", "4.04"})
        EXPECT_EQ(table.count(version), 0u) << version;
}

TEST_F(SynthV4Test, ChainedSegmentsSingOneAfterAnother)
{
    const std::string path = bank();
    Segment first(0), second(1920);
    std::unique_ptr<ISynth> a(makeTimbreSynth<Synth_v4>(path)), b(makeTimbreSynth<Synth_v4>(path));
    ASSERT_TRUE(a->loadSegment(&first.seg, first.tempos, 0, 1920, 0.3f));
    ASSERT_TRUE(b->loadSegment(&second.seg, second.tempos, 0, 1920, 0.3f));
    rendertest::expectChainSings(*a, *b);
}

}  // namespace
