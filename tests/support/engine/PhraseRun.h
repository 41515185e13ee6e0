#pragma once
// Sings a score through an engine front on its worker, expecting the job to
// finish; the output measures come along.
#include <gtest/gtest.h>

#include <vector>

#include "support/engine/OutputMeasures.h"
#include "support/engine/TestGeneration.h"

namespace enginetest {

// One run of the front's score to its end; the output as it stands then.
inline std::vector<short> singOnce(HalvorenEngine::IHVSynthesizer& synth)
{
    bool finished = false;
    std::vector<short> out = HalvorenEngineTest::singToEnd(synth, &finished);
    EXPECT_TRUE(finished);
    return out;
}

}  // namespace enginetest
