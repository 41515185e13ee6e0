#pragma once
// The phrase tests every singing generation passes (PhraseSuite.cpp, which a
// generation's test program compiles and instantiates with its records): one
// record per bank version says how to write its bank, make a front singing a
// score, and find the stretches of the noisy phrase the front sang.
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
    std::string name;  // letters, digits and '_'
    // The bank at hop written into the tree: its package path. With phases
    // every voice carries the nine-column phase table, where records hold one.
    std::function<std::string(testbank::BankTree& tree, int hop, bool phases)> bank;
    std::function<HalvorenEngine::IHVSynthesizer*(const std::string& package, const HalvorenEngine::SynthScoreV3&)>
        create;
    HalvorenEngine::SynthScoreV3 phrase;       // notes over several cells
    HalvorenEngine::SynthScoreV3 noisyPhrase;  // an unvoiced head, a rest, a breath; Breath +1
    std::function<NoisyStretches(HalvorenEngine::IHVSynthesizer& front, const std::string& package, int hop)>
        stretches;
};

inline void PrintTo(const PhraseEngine& engine, std::ostream* os) { *os << engine.name; }
inline std::string phraseEngineName(const ::testing::TestParamInfo<PhraseEngine>& info) { return info.param.name; }

// The made front as a Front singing the score; null when it is none.
template <class Front>
Front* singing(HalvorenEngine::IHVSynthesizer* made, const HalvorenEngine::SynthScoreV3& score)
{
    auto* front = dynamic_cast<Front*>(made);
    if (front != nullptr)
        front->score() = score;
    return front;
}

// The noisy stretches of the noisy phrase's two cells, whose spans (`first`,
// `bodyFrom`, `bodyTo`, `end`) count units of `unit` samples.
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
