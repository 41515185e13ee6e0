#pragma once
// The source store of the first two generations: the generation's package
// read through the engine's slots. Slot 1 names the nearest recorded pitch;
// slots 2 to 5 give a unit's records only at the very pitch asked for
// (slots 2 and 4 their parameter parts alone); slots 6 and 7 the bank's hop
// and sample rate. Records returned belong to the caller.
//
// A bank whose hop lies outside 1..N/2 (N the generation's frame size) or
// whose sample rate is not finite and positive cannot be rendered: the store
// says so once, with the index message, and isUsable() is false. A record
// whose hop is not the bank's counts as absent.
#include <cmath>
#include <cstdint>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "engine/BankFault.h"
#include "voicebank/package/SynthSrcCache.h"

namespace HalvorenEngineV1 {

template <class Packager, int Generation>
class HprSourceStore : public Packager, public Halvoren::BasicRecordSlots<Generation> {
public:
    using VoiceSrc = typename Packager::VoiceSrc;
    using SrcParameter = typename Packager::SrcParameter;
    using ContinuantSrc = typename Packager::ContinuantSrc;
    using SrcContinuantParameter = typename Packager::SrcContinuantParameter;

    HprSourceStore(std::string basePath, int frameSize, std::ostream& log)
        : Packager(std::move(basePath), log)
    {
        const std::int32_t hop = this->header().hopSize;
        const float rate = this->header().sampleRate;
        usable_ = hop >= 1 && hop <= frameSize / 2 && std::isfinite(rate) && rate > 0.0f;
        fault_ = HalvorenEngine::refuseBank(log, this->basePath(), this->indexFault(),
                                            usable_ ? std::string()
                                                    : HalvorenEngine::hopAndRateRefusal(hop, rate, frameSize / 2));
    }

    bool isUsable() const { return usable_; }
    // Why the bank cannot be read whole or sung; "" while it can.
    std::string bankFault() const { return HalvorenEngine::bankFaultNow(fault_, this->contentFault()); }

    // Slot 1.
    std::string getRecordKey(const std::string& unit, const std::string& pitch) const
    {
        std::int32_t offset = 0;
        return this->findRecordKey(unit, pitch, offset);
    }
    // Slot 2.
    std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch)
    {
        return parameterPart<SrcParameter>(exactVoiceSrc(unit, pitch));
    }
    // Slot 3.
    std::unique_ptr<VoiceSrc> exactVoiceSrc(const std::string& unit, const std::string& pitch) override
    {
        return loadExact<VoiceSrc>(unit, pitch, &Packager::loadVoiceSrc, &VoiceSrc::param11);
    }
    // Slot 4.
    std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch)
    {
        return parameterPart<SrcContinuantParameter>(exactContinuantSrc(unit, pitch));
    }
    // Slot 5.
    std::unique_ptr<ContinuantSrc> exactContinuantSrc(const std::string& unit, const std::string& pitch) override
    {
        return loadExact<ContinuantSrc>(unit, pitch, &Packager::loadContinuantSrc, &ContinuantSrc::hop);
    }
    // Slots 6 and 7.
    std::int32_t getHopSize() const { return this->header().hopSize; }
    float getSampleRate() const { return this->header().sampleRate; }

private:
    // The record of unit stored at exactly pitch (the records carry the
    // canonical spelling, so the names must be equal as strings), loaded by
    // loader, kept only when its hop field is the bank's.
    template <class Record>
    std::unique_ptr<Record> loadExact(const std::string& unit, const std::string& pitch,
                                      std::unique_ptr<Record> (Packager::*loader)(std::int32_t, const std::string&,
                                                                                  const std::string&) const,
                                      std::int32_t Record::*hopField) const
    {
        std::int32_t offset = 0;
        const std::string stored = this->findRecordKey(unit, pitch, offset);
        if (stored.empty() || stored != pitch)
            return nullptr;
        std::unique_ptr<Record> record = (this->*loader)(offset, unit, pitch);
        return record && (*record).*hopField == getHopSize() ? std::move(record) : nullptr;
    }
    template <class Part, class Record>
    static std::unique_ptr<Part> parameterPart(std::unique_ptr<Record> record)
    {
        return record ? std::make_unique<Part>(static_cast<const Part&>(*record)) : nullptr;
    }

    bool usable_ = false;
    std::string fault_;
};

}  // namespace HalvorenEngineV1
