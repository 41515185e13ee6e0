#pragma once
// The records one engine job has loaded, kept under unit + "_" + pitch until
// the cache goes; one cache type per generation (v3/, v4/, v6/ SrcCache.h).
// A missing record is fetched from the job's source store, which may be any
// type with the four loaders getVoiceSrc, getSrcParameter, getContinuantSrc
// and getSrcContinuantParameter, each taking (unit, pitch) and giving an
// owning pointer or null. Null is never kept: a unit missing at a pitch is
// asked of the store at every call. Records handed out stay the cache's.
// No lock: the job's worker thread is its only user.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "voicebank/package/CommonMapStore.h"

namespace Halvoren {

template <class VoiceSrc, class ContinuantSrc, class SrcParameter, class SrcContinuantParameter>
class BasicSrcCache {
public:
    // log receives the message of a refused insert; it must outlive the cache.
    explicit BasicSrcCache(std::ostream& log = std::cerr)
        : voiceSrcs(log), continuantSrcs(log), srcParameters(log), srcContinuantParameters(log)
    {
    }
    ~BasicSrcCache()
    {
        voiceSrcs.clear();
        continuantSrcs.clear();
        srcParameters.clear();
        srcContinuantParameters.clear();
    }
    BasicSrcCache(const BasicSrcCache&) = delete;
    BasicSrcCache& operator=(const BasicSrcCache&) = delete;

    template <class Store>
    VoiceSrc* getVoiceSrc(Store& store, const std::string& unit, const std::string& pitch)
    {
        return fetch(voiceSrcs, unit, pitch, [&] { return store.getVoiceSrc(unit, pitch); });
    }
    template <class Store>
    SrcParameter* getSrcParameter(Store& store, const std::string& unit, const std::string& pitch)
    {
        return fetch(srcParameters, unit, pitch, [&] { return store.getSrcParameter(unit, pitch); });
    }
    // A continuant under its one name (the fourth generation's).
    template <class Store>
    ContinuantSrc* getContinuantSrc(Store& store, const std::string& unit, const std::string& pitch)
    {
        return fetch(continuantSrcs, unit, pitch, [&] { return store.getContinuantSrc(unit, pitch); });
    }
    template <class Store>
    SrcContinuantParameter* getSrcContinuantParameter(Store& store, const std::string& unit, const std::string& pitch)
    {
        return fetch(srcContinuantParameters, unit, pitch,
                     [&] { return store.getSrcContinuantParameter(unit, pitch); });
    }
    // The unit is first + "_" + second.
    template <class Store>
    ContinuantSrc* getContinuantSrc(Store& store, const std::string& first, const std::string& second,
                                    const std::string& pitch)
    {
        const std::string unit = first + "_" + second;
        return fetch(continuantSrcs, unit, pitch, [&] { return store.getContinuantSrc(unit, pitch); });
    }
    template <class Store>
    SrcContinuantParameter* getSrcContinuantParameter(Store& store, const std::string& first,
                                                      const std::string& second, const std::string& pitch)
    {
        const std::string unit = first + "_" + second;
        return fetch(srcContinuantParameters, unit, pitch,
                     [&] { return store.getSrcContinuantParameter(unit, pitch); });
    }

    CommonMapStore<VoiceSrc> voiceSrcs;
    CommonMapStore<ContinuantSrc> continuantSrcs;
    CommonMapStore<SrcParameter> srcParameters;
    CommonMapStore<SrcContinuantParameter> srcContinuantParameters;

private:
    template <class T, class Load>
    static T* fetch(CommonMapStore<T>& records, const std::string& unit, const std::string& pitch, Load load)
    {
        std::string key;
        key.reserve(unit.size() + 1 + pitch.size());
        key.append(unit).append(1, '_').append(pitch);
        if (T* found = records.find(key))
            return found;
        std::unique_ptr<T> loaded(load());
        return records.insert(key, std::move(loaded));
    }
};

}  // namespace Halvoren
