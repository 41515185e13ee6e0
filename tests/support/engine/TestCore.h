#pragma once
// Editor-side synthesizers over the test generation: a first- and a
// second-generation one over the V1 and V2 scores, and a timbre-aware one
// whose core has a settable timbre table, symbol set and timing plan. Their
// engine fronts go to getEngineManager(), which a test usually overrides.
#include <array>
#include <set>
#include <string>
#include <vector>

#include "engine/EngineManager.h"
#include "render/synth/SynthV1Base.h"
#include "render/synth/SynthVersionTable.h"
#include "render/synth/TimbreAwareSynth.h"
#include "support/engine/TestGeneration.h"

namespace HalvorenEngineTest {

using V3Front = ScoreSynthesizer<HalvorenEngine::SynthScoreV3>;

inline std::vector<HalvorenEngine::CurvePoint>* powerOf(HalvorenEngine::SynthScoreV1&) { return nullptr; }
inline std::vector<HalvorenEngine::CurvePoint>* powerOf(HalvorenEngine::SynthScoreV2& score) { return &score.power; }

// A first-generation synthesizer over the V1 score, or a second-generation
// one over the V2 score with its power points.
template <class Score>
class TestScoreSynth : public SynthV1Base {
public:
    explicit TestScoreSynth(TestConfig config = {})
        : TestScoreSynth(createScoreSynthesizer<Score>(HalvorenEngine::getEngineManager(), config))
    {
    }
    ScoreSynthesizer<Score>* front() const { return front_; }

protected:
    // The test generation sings every syllable.
    bool hasVoiceFor(const HalvorenEngine::SynthNoteV1&) const override { return true; }

private:
    explicit TestScoreSynth(ScoreSynthesizer<Score>* front)
        : SynthV1Base(front, &front->score(), powerOf(front->score())), front_(front)
    {
    }
    ScoreSynthesizer<Score>* front_;
};

using TestSynthV1 = TestScoreSynth<HalvorenEngine::SynthScoreV1>;
using TestSynthV2 = TestScoreSynth<HalvorenEngine::SynthScoreV2>;

// Low, high and centre pitch names of each timbre.
using TimbreNames = std::vector<std::array<std::string, 3>>;

// Four timbres whose low keys are 67, 58, 53 and 46: key 60 falls to timbre
// 0, 55 to 1, 50 to 2, 30 to 3; the centres are E3, C4, E4 and C5.
inline TimbreNames defaultTimbres()
{
    return {{"C3", "G3", "E3"}, {"A3", "C#4", "C4"}, {"D4", "G4", "E4"}, {"A4", "E5", "C5"}};
}

struct CoreSetup {
    TimbreNames timbres = defaultTimbres();
    std::set<std::string> symbols = {"a", "la", "ba", "ma", "nve", "lve"};
    std::vector<HalvorenEngine::NoteTimes> times{};  // the timing plan's entries
    TestConfig job{};
    bool noEngine = false;
};

class TestCore : public Synth_V3_core {
public:
    TestCore(V3Front* front, CoreSetup setup) : Synth_V3_core(front), front_(front), setup(std::move(setup)) {}

    // Keeps the score it was given; the entries are the setup's.
    void prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out) override
    {
        planned = score;
        out = setup.times;
    }
    int timbreCount() override { return static_cast<int>(setup.timbres.size()); }
    void timbrePitchNames(int index, std::string& a, std::string& b, std::string& c) override
    {
        if (index < 0 || index >= timbreCount())
            return;
        a = setup.timbres[index][0];
        b = setup.timbres[index][1];
        c = setup.timbres[index][2];
    }
    HalvorenEngine::SynthScoreV3* score() override { return front_ != nullptr ? &front_->score() : nullptr; }
    bool isValidSymbol(const std::string& symbol) override { return setup.symbols.count(symbol) != 0; }

    V3Front* front() const { return front_; }

private:
    V3Front* front_;

public:
    CoreSetup setup;
    HalvorenEngine::SynthScoreV3 planned;
};

class TestTimbreSynth : public TimbreAwareSynth {
public:
    explicit TestTimbreSynth(CoreSetup setup = {}, bool keepUnknownSymbols = false)
        : TimbreAwareSynth(keepUnknownSymbols), setup_(std::move(setup))
    {
    }
    SynthCore* createCore(const std::string& /*bankPath*/) override
    {
        V3Front* front = setup_.noEngine ? nullptr
                                         : createScoreSynthesizer<HalvorenEngine::SynthScoreV3>(
                                               HalvorenEngine::getEngineManager(), setup_.job);
        return new TestCore(front, setup_);
    }
    TestCore& testCore() const { return static_cast<TestCore&>(*core()); }
    ScoreJobTest<HalvorenEngine::SynthScoreV3>& body() const { return testCore().front()->score(); }

private:
    CoreSetup setup_;
};

// A timbre-aware synthesizer with its core attached.
inline std::unique_ptr<TestTimbreSynth> makeTestTimbreSynth(CoreSetup setup = {}, bool keepUnknownSymbols = false)
{
    auto synth = std::make_unique<TestTimbreSynth>(std::move(setup), keepUnknownSymbols);
    synth->attachCore("");
    return synth;
}

// A version-table row making such synthesizers.
inline SynthMaker makeTestTimbreSynthMaker(CoreSetup setup = {}, bool keepUnknownSymbols = false)
{
    return [setup, keepUnknownSymbols](const std::string&) -> ISynth* {
        return makeTestTimbreSynth(setup, keepUnknownSymbols).release();
    };
}

}  // namespace HalvorenEngineTest
