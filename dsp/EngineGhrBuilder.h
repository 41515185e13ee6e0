#pragma once
// The third generation's analysis equipment with the gammatone band banks.
#include "dsp/EngineHprBuilder.h"
#include "dsp/HPR2GHR.h"

namespace HalvorenEngineV3 {

class EngineGhrBuilder : public EngineHprBuilder, public Halvoren::HPR2GHR {
public:
    // The banks cannot be designed for a rate that is not positive and
    // finite: std::invalid_argument.
    explicit EngineGhrBuilder(float rate) : EngineHprBuilder(rate), Halvoren::HPR2GHR(rate) {}

    using EngineHprBuilder::sampleRate;
};

}  // namespace HalvorenEngineV3
