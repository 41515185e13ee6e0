#include "engine/v3_2/HVSynthesizer.h"

#include "engine/EngineManager.h"
#include "engine/SynthesizerFactory.h"

namespace HalvorenEngineV3_2 {

HalvorenEngine::IHVSynthesizer* createSynthesizerV3_2(const std::string& packagePath)
{
    return HalvorenEngine::createSynthesizer<HVSynthesizer>(HalvorenEngine::getEngineManager(), packagePath);
}

}  // namespace HalvorenEngineV3_2
