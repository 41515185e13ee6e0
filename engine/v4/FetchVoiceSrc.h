#pragma once
// The record fetch of the fourth-generation cell makers: a record of a unit
// (a voice, or a continuant under its one name) through the job's cache, at
// the pitch the index stores for the unit nearest the asked one. The cache
// keeps what it loads.
#include <string>

#include "engine/v4/ISourceStore.h"
#include "voicebank/v4/SrcCache.h"

namespace HalvorenEngineV4 {

// Null when the index holds no such unit. With retryWithDash set, a unit the
// bank lacks is asked again as "-" + unit (its form after a vowel).
// load(name, storedPitch) fetches through the cache.
template <class Load>
auto fetchWithRetry(ISourceStore& store, const std::string& unit, const std::string& pitch, bool retryWithDash,
                    Load load) -> decltype(load(unit, pitch))
{
    auto fetchOnce = [&](const std::string& name) -> decltype(load(unit, pitch)) {
        const std::string stored = store.getRecordKey(name, pitch);
        return stored.empty() ? nullptr : load(name, stored);
    };
    auto found = fetchOnce(unit);
    if (found == nullptr && retryWithDash)
        found = fetchOnce("-" + unit);
    return found;
}

inline VoiceSrc* fetchVoiceSrc(SrcCache& cache, ISourceStore& store, const std::string& unit,
                               const std::string& pitch, bool retryWithDash)
{
    return fetchWithRetry(store, unit, pitch, retryWithDash, [&](const std::string& name, const std::string& at) {
        return cache.getVoiceSrc(store, name, at);
    });
}

inline SrcParameter* fetchSrcParameter(SrcCache& cache, ISourceStore& store, const std::string& unit,
                                       const std::string& pitch, bool retryWithDash)
{
    return fetchWithRetry(store, unit, pitch, retryWithDash, [&](const std::string& name, const std::string& at) {
        return cache.getSrcParameter(store, name, at);
    });
}

inline ContinuantSrc* fetchContinuantSrc(SrcCache& cache, ISourceStore& store, const std::string& name,
                                         const std::string& pitch, bool retryWithDash)
{
    return fetchWithRetry(store, name, pitch, retryWithDash, [&](const std::string& n, const std::string& at) {
        return cache.getContinuantSrc(store, n, at);
    });
}

inline SrcContinuantParameter* fetchSrcContinuantParameter(SrcCache& cache, ISourceStore& store,
                                                           const std::string& name, const std::string& pitch,
                                                           bool retryWithDash)
{
    return fetchWithRetry(store, name, pitch, retryWithDash, [&](const std::string& n, const std::string& at) {
        return cache.getSrcContinuantParameter(store, n, at);
    });
}

}  // namespace HalvorenEngineV4
