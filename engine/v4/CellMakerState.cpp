#include "engine/v4/CellMakerState.h"

#include "engine/v4/FetchVoiceSrc.h"

namespace HalvorenEngineV4 {

VoiceSrc* CellMakerState::fetchVoiceSrc(const std::string& unit, const std::string& pitch, bool retryWithDash)
{
    return HalvorenEngineV4::fetchVoiceSrc(cache(), store(), unit, pitch, retryWithDash);
}

SrcParameter* CellMakerState::fetchSrcParameter(const std::string& unit, const std::string& pitch,
                                                bool retryWithDash)
{
    return HalvorenEngineV4::fetchSrcParameter(cache(), store(), unit, pitch, retryWithDash);
}

ContinuantSrc* CellMakerState::fetchContinuantSrc(const std::string& name, const std::string& pitch,
                                                  bool retryWithDash)
{
    return HalvorenEngineV4::fetchContinuantSrc(cache(), store(), name, pitch, retryWithDash);
}

SrcContinuantParameter* CellMakerState::fetchSrcContinuantParameter(const std::string& name,
                                                                    const std::string& pitch, bool retryWithDash)
{
    return HalvorenEngineV4::fetchSrcContinuantParameter(cache(), store(), name, pitch, retryWithDash);
}

Halvoren::StepTable* CellMakerState::phaseEntryOf(VoiceSrc* unit)
{
    if (unit == nullptr || unit->material == nullptr || !store().hasExt1())
        return nullptr;
    return &unit->material->ext1;
}

}  // namespace HalvorenEngineV4
