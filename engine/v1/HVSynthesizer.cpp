#include "engine/v1/HVSynthesizer.h"

#include "engine/EngineManager.h"
#include "engine/SynthesizerFactory.h"

namespace HalvorenEngineV1 {

HalvorenEngine::IHVSynthesizer* createSynthesizerV1(const std::string& packagePath)
{
    return HalvorenEngine::createSynthesizer<HVSynthesizer>(HalvorenEngine::getEngineManager(), packagePath);
}

}  // namespace HalvorenEngineV1
