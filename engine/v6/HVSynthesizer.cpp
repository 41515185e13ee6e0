#include "engine/v6/HVSynthesizer.h"

#include "engine/EngineManager.h"
#include "engine/SynthesizerFactory.h"

namespace HalvorenEngineV6 {

HalvorenEngine::IHVSynthesizer* createSynthesizerV6(const std::string& packagePath)
{
    return HalvorenEngine::createSynthesizer<HVSynthesizer>(HalvorenEngine::getEngineManager(), packagePath);
}

}  // namespace HalvorenEngineV6
