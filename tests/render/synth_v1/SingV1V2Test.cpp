// Banks "1" and "2" sing: the version table's choice, a chained pair of
// segments, and a phrase through the segment manager measured on the
// output.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "engine/v1/HVSynthesizer.h"
#include "engine/v1/NotePlanning.h"
#include "engine/v2/HVSynthesizer.h"
#include "render/synth/ChainSynthMgr.h"
#include "render/synth/SegmentSynthMgr.h"
#include "render/synth/Synth_v1.h"
#include "render/synth/SynthVersionTable.h"
#include "support/bank/BankTree.h"
#include "support/bank/HprSingingBank.h"
#include "support/engine/SinusoidFit.h"
#include "support/engine/TestGeneration.h"
#include "support/model_document/ProjectBuilder.h"
#include "voicebank/Singer.h"
#include "voicebank/SingerMgr.h"

namespace {

using HalvorenEngineTest::eventually;
using namespace HVCurrentModel;

constexpr double kRate = 44100.0;

class SingV1V2Test : public ::testing::Test {
protected:
    SingV1V2Test() : tree_("sing_v1v2") { HalvorenEngine::setEngineManagerOverride(&manager_); }
    ~SingV1V2Test() override
    {
        getSingerList()->clearSingers();
        HalvorenEngine::setEngineManagerOverride(nullptr);
    }

    // The singing bank of the generation, installed as singer "G<generation>".
    std::string bank(int generation, std::int32_t hop = 256)
    {
        testbank::HprSingingOptions options;
        options.generation = generation;
        options.hop = hop;
        const std::string version = std::to_string(generation);
        const auto folder = tree_.addPackage("b" + version, version, "G" + version,
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

    HalvorenEngine::CleanGarbageSynthRunnable manager_{5};
    testbank::BankTree tree_;
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

// 120 BPM: 480 ticks are 0.5 s.
struct Phrase {
    explicit Phrase(int width = 3840) : seg(0, width) { tempos.push_back(&tempo); }
    Note& add(int pos, int width, int key, const std::string& symbol)
    {
        Note* n = projtest::addNote(seg, pos, width, key, symbol);
        n->phoneticSymbol = symbol;
        return *n;
    }
    Tempo tempo{0, 12000, false};
    std::vector<Tempo*> tempos;
    SingSegment seg;
};

std::vector<short> outputOf(ISynth& synth)
{
    int count = 0;
    const short* out = synth.getOutput(&count);
    return std::vector<short>(out, out + count);
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
        ChainSynthMgr chain;
        chain.beginTrack();
        chain.addSynth(a.get());
        chain.addSynth(b.get());
        a->start();
        ASSERT_TRUE(eventually([&] { return a->samplesReady() == INT_MAX && b->samplesReady() == INT_MAX; }));
        for (ISynth* synth : {a.get(), b.get()}) {
            const std::vector<short> out = outputOf(*synth);
            int loudest = 0;
            for (short s : out)
                loudest = std::max(loudest, std::abs(int(s)));
            EXPECT_GT(loudest, 300);
            EXPECT_LT(loudest, 32767);
        }
        a->stop();
        b->stop();
        chain.clear();
    }
}

}  // namespace
