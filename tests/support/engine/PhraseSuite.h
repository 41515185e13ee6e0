#pragma once
// The phrase tests every singing generation passes, defined once in
// PhraseSuite.cpp and run over one record per bank version: how to write its
// bank, make a front that sings a score, and find where the noisy phrase's
// unvoiced and voiced stretches lie. A generation's test program compiles
// PhraseSuite.cpp beside its own tests and instantiates the suite with its
// records.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/IHVSynthesizer.h"
#include "engine/SynthScoreV3.h"
#include "support/bank/BankTree.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/OutputMeasures.h"

namespace enginetest {

struct PhraseEngine {
    std::string name;  // letters, digits and '_': the instantiation's name
    // Writes the bank at hop into the tree and gives its package path; with
    // phases every voice carries the nine-column phase table, where the
    // generation's records hold one.
    std::function<std::string(testbank::BankTree& tree, int hop, bool phases)> bank;
    // A front on the package with the score set.
    std::function<HalvorenEngine::IHVSynthesizer*(const std::string& package, const HalvorenEngine::SynthScoreV3& score)>
        create;
    HalvorenEngine::SynthScoreV3 phrase;       // sung notes over several cells
    HalvorenEngine::SynthScoreV3 noisyPhrase;  // a note with an unvoiced head, a rest, a breath; Breath +1
    // The stretches of the noisy phrase that front (on package, at hop) sang.
    std::function<NoisyStretches(HalvorenEngine::IHVSynthesizer& front, const std::string& package, int hop)>
        stretches;
};

inline void PrintTo(const PhraseEngine& engine, std::ostream* os) { *os << engine.name; }

inline std::string phraseEngineName(const ::testing::TestParamInfo<PhraseEngine>& info) { return info.param.name; }

// The noisy stretches of the two cells of the noisy phrase, from their spans
// (`first`, `bodyFrom`, `bodyTo`, `end`) in units of `unit` samples.
template <class CellSpan>
NoisyStretches twoCellStretches(const std::vector<CellSpan>& spans, int unit)
{
    if (spans.size() != 2) {
        ADD_FAILURE() << spans.size() << " cells in the noisy phrase";
        return {};
    }
    return noisyStretchesOf(spans[0], spans[1], unit);
}

class PhraseSuite : public ManagedBankTest<::testing::TestWithParam<PhraseEngine>> {
protected:
    PhraseSuite() : ManagedBankTest("phrase_" + GetParam().name) {}
};

}  // namespace enginetest
