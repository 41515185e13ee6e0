#include "engine/v3/CellMakerState.h"

namespace HalvorenEngineV3 {

VoiceSrc* CellMakerState::lookupVoiceSrc(const std::string& unit, const std::string& pitch)
{
    const std::string stored = store().getRecordKey(unit, pitch);
    if (stored.empty())
        return nullptr;
    return cache().getVoiceSrc(store(), unit, stored);
}

}  // namespace HalvorenEngineV3
