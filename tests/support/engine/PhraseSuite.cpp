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

TEST_P(PhraseSuite, SingsCleanlyAndFadesNextToSilenceAtLargeHops)
{
    const PhraseEngine& engine = GetParam();
    constexpr int kHops[] = {128, 200, 256};
    std::vector<short> out[3];
    NoisyStretches stretches[3];
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(kHops[k]);
        const std::string package = engine.bank(tree_, kHops[k], false);
        HalvorenEngine::IHVSynthesizer* synth = engine.create(package, engine.noisyPhrase);
        ASSERT_NE(synth, nullptr);
        out[k] = singOnce(*synth);
        stretches[k] = engine.stretches(*synth, package, kHops[k]);
        manager_.releaseSynthesizer(synth);
        // The unvoiced head after the lead-in, the breath after the rest and
        // a release into silence start and end fading.
        expectSoundFadesNextToSilence(out[k], kHops[k]);
    }
    for (int k = 1; k < 3; ++k)
        expectCleanAtALargeHop(out[0], stretches[0], out[k], stretches[k], kHops[k]);
}

}  // namespace enginetest
