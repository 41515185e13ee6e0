#include "render/synth/Synth_v3_1.h"

#include "engine/v3_1/HVSynthesizer.h"
#include "engine/v3_2/HVSynthesizer.h"

Synth_V3_core_v3_1::Synth_V3_core_v3_1(const std::string& bankPath)
    : Synth_V3_core_v3(HalvorenEngineV3_1::createSynthesizerV3_1(bankPath))
{
}

Synth_V3_core_v3_2::Synth_V3_core_v3_2(const std::string& bankPath)
    : Synth_V3_core_v3(HalvorenEngineV3_2::createSynthesizerV3_2(bankPath))
{
}
