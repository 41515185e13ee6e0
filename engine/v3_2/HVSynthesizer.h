#pragma once
// The front of a "3.5" job: the cell making of "3.4" rendered by this bank
// version's own frame synthesis, and its factory.
#include <string>

#include "engine/v3/HVSynthesizer.h"
#include "engine/v3_1/BuildCells.h"
#include "engine/v3_2/FrameSynth.h"

namespace HalvorenEngineV3_2 {

class HVSynthesizer : public HalvorenEngineV3::HVSynthesizer {
public:
    explicit HVSynthesizer(const std::string& packagePath)
        : HalvorenEngineV3::HVSynthesizer(packagePath, &HalvorenEngineV3_1::buildCells,
                                          &HalvorenEngineV3::frameSynthOf<FrameSynth>)
    {
    }
};

// Null when memory runs out.
HalvorenEngine::IHVSynthesizer* createSynthesizerV3_2(const std::string& packagePath);

}  // namespace HalvorenEngineV3_2
