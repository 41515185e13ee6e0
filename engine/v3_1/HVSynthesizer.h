#pragma once
// The front of a "3.4" job: the third generation's job singing with this
// bank version's cell makers, and its factory.
#include <string>

#include "engine/v3/HVSynthesizer.h"
#include "engine/v3_1/BuildCells.h"

namespace HalvorenEngineV3_1 {

class HVSynthesizer : public HalvorenEngineV3::HVSynthesizer {
public:
    explicit HVSynthesizer(const std::string& packagePath)
        : HalvorenEngineV3::HVSynthesizer(packagePath, &buildCells)
    {
    }
};

// Null when memory runs out.
HalvorenEngine::IHVSynthesizer* createSynthesizerV3_1(const std::string& packagePath);

}  // namespace HalvorenEngineV3_1
