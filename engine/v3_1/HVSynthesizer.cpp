#include "engine/v3_1/HVSynthesizer.h"

#include "engine/EngineManager.h"
#include "engine/SynthesizerFactory.h"

namespace HalvorenEngineV3_1 {

HalvorenEngine::IHVSynthesizer* createSynthesizerV3_1(const std::string& packagePath)
{
    return HalvorenEngine::createSynthesizer<HVSynthesizer>(HalvorenEngine::getEngineManager(), packagePath);
}

}  // namespace HalvorenEngineV3_1
