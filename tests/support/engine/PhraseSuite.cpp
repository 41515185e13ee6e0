#include "support/engine/PhraseSuite.h"

#include "support/engine/PhraseRun.h"

namespace enginetest {

TEST_P(PhraseSuite, SameSamplesEveryRun)
{
    const PhraseEngine& engine = GetParam();
    const std::string package = engine.bank(tree_, 128, true);
    expectSameSamplesEveryRun([&] { return engine.create(package, engine.phrase); },
                              [&](HalvorenEngine::IHVSynthesizer* s) { manager_.releaseSynthesizer(s); });
}

TEST_P(PhraseSuite, StoppingMidPhraseGivesNoDone)
{
    const PhraseEngine& engine = GetParam();
    HalvorenEngine::IHVSynthesizer* synth = engine.create(engine.bank(tree_, 128, false), engine.phrase);
    ASSERT_NE(synth, nullptr);
    expectStopGivesNoDone(*synth);
    manager_.releaseSynthesizer(synth);
}

TEST_P(PhraseSuite, SingsCleanlyAtTheLargestHop)
{
    const PhraseEngine& engine = GetParam();
    std::vector<short> out[2];
    NoisyStretches stretches[2];
    for (int k = 0; k < 2; ++k) {
        const int hop = 128 << k;
        const std::string package = engine.bank(tree_, hop, false);
        HalvorenEngine::IHVSynthesizer* synth = engine.create(package, engine.noisyPhrase);
        ASSERT_NE(synth, nullptr);
        out[k] = singOnce(*synth);
        stretches[k] = engine.stretches(*synth, package, hop);
        manager_.releaseSynthesizer(synth);
    }
    expectCleanAtTheLargestHop(out[0], stretches[0], out[1], stretches[1]);
}

}  // namespace enginetest
