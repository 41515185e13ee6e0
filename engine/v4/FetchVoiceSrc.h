#pragma once
// The record fetch of the fourth-generation cell makers: a voice record of a
// unit through the job's cache, at the pitch the index stores for the unit
// nearest the asked one. The cache keeps what it loads.
#include <string>

#include "engine/v4/ISourceStore.h"
#include "voicebank/v4/SrcCache.h"

namespace HalvorenEngineV4 {

// Null when the index holds no such unit. With retryWithDash set, a unit the
// bank lacks is asked again as "-" + unit (its form after a vowel).
inline VoiceSrc* fetchVoiceSrc(SrcCache& cache, ISourceStore& store, const std::string& unit,
                               const std::string& pitch, bool retryWithDash)
{
    auto fetchOnce = [&](const std::string& name) -> VoiceSrc* {
        const std::string stored = store.getRecordKey(name, pitch);
        return stored.empty() ? nullptr : cache.getVoiceSrc(store, name, stored);
    };
    VoiceSrc* found = fetchOnce(unit);
    if (found == nullptr && retryWithDash)
        found = fetchOnce("-" + unit);
    return found;
}

}  // namespace HalvorenEngineV4
