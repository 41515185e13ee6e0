#pragma once
// The third-generation store: the bank's package read through the
// ISourceStore slots. It owns nothing but the package; records it loads go
// to the caller.
//
// A bank whose hop lies outside 1..256 or whose sample rate is not finite
// and positive cannot be rendered: the store says so once, with the index
// message, and isUsable() is false. Its slots still answer as stored.
#include <iostream>
#include <ostream>
#include <string>

#include "engine/v3/ISourceStore.h"
#include "voicebank/v3/SourceStorePackager.h"

namespace HalvorenEngineV3 {

class SourceStore_pkg : public SourceStorePackager, public ISourceStore {
public:
    // The largest hop a frame of 512 samples can be overlap-added at.
    static constexpr std::int32_t kMaxHop = 256;

    explicit SourceStore_pkg(std::string basePath, std::ostream& log = std::cout);

    bool isUsable() const { return usable_; }

    std::string getRecordKey(const std::string& unit, const std::string& pitch) override;
    std::unique_ptr<VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override;
    std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch) override;
    std::unique_ptr<ContinuantSrc> getContinuantSrc(const std::string& unit, const std::string& pitch) override;
    std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch) override;
    void* getNothing(const void*) override { return nullptr; }

    std::int32_t getHopSize() override { return header().hopSize; }
    float getSampleRate() override { return header().sampleRate; }
    float getParam3() override { return header().param3; }
    float getParam4() override { return header().param4; }
    float getParam5() override { return header().param5; }
    float getMaxHarmonicFreq() override { return header().maxHarmonicFreq; }
    std::int32_t getPhaseSetting() override { return header().phaseSetting; }
    std::int32_t getParam8() override { return header().param8; }
    float getPowerAmount() override { return header().powerAmount; }
    float getPowerCentre() override { return header().powerCentre; }
    float getPowerWidth() override { return header().powerWidth; }
    std::string getString1() override { return index().strings[0]; }
    std::string getString2() override { return index().strings[1]; }
    std::string getLanguage() override { return index().strings[2]; }
    bool hasExt1() override { return SourceStorePackager::hasExt1(); }
    std::int32_t getTimbreCount() override;
    void getTimbrePitchNames(std::int32_t index, std::string& low, std::string& middle, std::string& high) override;
    void getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower) override;

private:
    // The loader of one record kind over (unit, pitch, offset, part).
    template <class Record>
    using Loader = std::unique_ptr<Record> (SourceStorePackager::*)(const std::string&, const std::string&,
                                                                    std::int32_t, std::int32_t) const;
    template <class Record>
    std::unique_ptr<Record> loadAtPitch(const std::string& unit, const std::string& pitch, Loader<Record> loader);

    bool usable_ = false;
};

}  // namespace HalvorenEngineV3
