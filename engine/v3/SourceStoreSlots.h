#pragma once
// A store of the third or fourth generation: the generation's package read
// through the shared slots. It owns nothing but the package; records it
// loads go to the caller.
//
// A bank whose hop lies outside 1..256 or whose sample rate is not finite
// and positive cannot be rendered: the store says so once, with the index
// message, and isUsable() is false. Its slots still answer as stored.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "engine/BankFault.h"
#include "engine/StoreSlotHelpers.h"
#include "voicebank/package/IndexedPackage.h"

namespace HalvorenEngineV3 {

template <class Packager, class Interface>
class SourceStoreSlots : public Packager, public Interface {
public:
    using typename Interface::VoiceSrc;
    using typename Interface::SrcParameter;
    using typename Interface::ContinuantSrc;
    using typename Interface::SrcContinuantParameter;

    explicit SourceStoreSlots(std::string basePath, std::ostream& log = std::cerr)
        : Packager(std::move(basePath), log)
    {
        usable_ = HalvorenEngine::hopAndRateRenderable(this->header());
        fault_ = HalvorenEngine::refuseBank(
            log, this->basePath(), this->indexFault(),
            usable_ ? std::string()
                    : HalvorenEngine::hopAndRateRefusal(this->header().hopSize, this->header().sampleRate,
                                                        HalvorenEngine::kMaxStoreHop));
    }

    bool isUsable() const { return usable_; }
    // Why the bank cannot be read whole or sung; "" while it can.
    std::string bankFault() const { return HalvorenEngine::bankFaultNow(fault_, this->contentFault()); }

    std::string getRecordKey(const std::string& unit, const std::string& pitch) override
    {
        std::int32_t offset = 0;
        std::int32_t part = 0;
        return this->findRecordKey(unit, pitch, offset, part);
    }
    std::unique_ptr<VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override
    {
        return loadAtPitch<VoiceSrc>(unit, pitch, &Packager::loadVoiceSrc);
    }
    std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch) override
    {
        return loadAtPitch<SrcParameter>(unit, pitch, &Packager::loadSrcParameter);
    }
    std::unique_ptr<ContinuantSrc> getContinuantSrc(const std::string& unit, const std::string& pitch) override
    {
        return loadAtPitch<ContinuantSrc>(unit, pitch, &Packager::loadContinuantSrc);
    }
    std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch) override
    {
        return loadAtPitch<SrcContinuantParameter>(unit, pitch, &Packager::loadSrcContinuantParameter);
    }
    void* getNothing(const void*) override { return nullptr; }

    std::int32_t getHopSize() override { return this->header().hopSize; }
    float getSampleRate() override { return this->header().sampleRate; }
    float getParam3() override { return this->header().param3; }
    float getParam4() override { return this->header().param4; }
    float getParam5() override { return this->header().param5; }
    float getMaxHarmonicFreq() override { return this->header().maxHarmonicFreq; }
    std::int32_t getPhaseSetting() override { return this->header().phaseSetting; }
    std::int32_t getParam8() override { return this->header().param8; }
    float getPowerAmount() override { return this->header().powerAmount; }
    float getPowerCentre() override { return this->header().powerCentre; }
    float getPowerWidth() override { return this->header().powerWidth; }
    std::string getString1() override { return this->index().strings[0]; }
    std::string getString2() override { return this->index().strings[1]; }
    std::string getLanguage() override { return this->index().strings[2]; }
    bool hasExt1() override { return Packager::hasExt1(); }
    std::int32_t getTimbreCount() override { return static_cast<std::int32_t>(this->index().timbreTable.size()); }
    void getTimbrePitchNames(std::int32_t i, std::string& low, std::string& middle, std::string& high) override
    {
        HalvorenEngine::copyTimbreNames(this->index().timbreTable, i, low, middle, high);
    }
    void getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower) override
    {
        neutral = this->index().timbreTimes[0];
        upper = this->index().timbreTimes[1];
        lower = this->index().timbreTimes[2];
    }

private:
    // The loader of one record kind over (unit, pitch, offset, part).
    template <class Record>
    using Loader = std::unique_ptr<Record> (Packager::*)(const std::string&, const std::string&, std::int32_t,
                                                         std::int32_t) const;
    template <class Record>
    std::unique_ptr<Record> loadAtPitch(const std::string& unit, const std::string& pitch, Loader<Record> loader)
    {
        return HalvorenEngine::loadRecordAtPitch<Record>(static_cast<const Packager&>(*this), unit, pitch, loader);
    }

    bool usable_ = false;
    std::string fault_;
};

}  // namespace HalvorenEngineV3
