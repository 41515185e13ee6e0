#pragma once
// Two editor synthesizers chained on one track: starting the first runs both
// to their end. Gives the loudest sample of each output, or nothing when the
// chain did not finish within the wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <optional>

#include "render/synth/ChainSynthMgr.h"
#include "support/engine/TestGeneration.h"

namespace rendertest {

inline std::optional<std::array<int, 2>> singChained(ISynth& a, ISynth& b)
{
    ChainSynthMgr chain;
    chain.beginTrack();
    chain.addSynth(&a);
    chain.addSynth(&b);
    a.start();
    std::optional<std::array<int, 2>> loudest;
    if (HalvorenEngineTest::eventually([&] { return a.samplesReady() == INT_MAX && b.samplesReady() == INT_MAX; })) {
        loudest.emplace();
        ISynth* synths[] = {&a, &b};
        for (int k = 0; k < 2; ++k) {
            int count = 0;
            const short* out = synths[k]->getOutput(&count);
            (*loudest)[k] = 0;
            for (int i = 0; i < count; ++i)
                (*loudest)[k] = std::max((*loudest)[k], std::abs(static_cast<int>(out[i])));
        }
    }
    a.stop();
    b.stop();
    chain.clear();
    return loudest;
}

// Chains a and b; both finish, sound (a sample beyond 300) and never clip.
inline void expectChainSings(ISynth& a, ISynth& b)
{
    const auto loudest = singChained(a, b);
    ASSERT_TRUE(loudest.has_value());
    for (int k : *loudest) {
        EXPECT_GT(k, 300);
        EXPECT_LT(k, 32767);
    }
}

}  // namespace rendertest
