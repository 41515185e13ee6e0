#include "engine/v4/HVSynthesizer.h"

#include "engine/EngineManager.h"
#include "engine/SynthesizerFactory.h"

namespace HalvorenEngineV4 {

HalvorenEngine::IHVSynthesizer* createSynthesizerV4(const std::string& packagePath)
{
    return HalvorenEngine::createSynthesizer<HVSynthesizer>(HalvorenEngine::getEngineManager(), packagePath);
}

}  // namespace HalvorenEngineV4
