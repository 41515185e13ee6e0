#pragma once
// The slots every package store from the third generation on fills: a
// bank's records by unit and pitch, the bank-wide header values, strings
// and timbre table. Each generation names its record types and adds slots
// of its own. Records returned belong to the caller. Every operation may be
// called from two threads at once.
#include <cstdint>
#include <memory>
#include <string>

namespace HalvorenEngine {

template <class VoiceSrcT, class SrcParameterT, class ContinuantSrcT, class SrcContinuantParameterT>
class IStoreSlots {
public:
    using VoiceSrc = VoiceSrcT;
    using SrcParameter = SrcParameterT;
    using ContinuantSrc = ContinuantSrcT;
    using SrcContinuantParameter = SrcContinuantParameterT;

    virtual ~IStoreSlots() = default;

    // The pitch name stored with the unit's variant nearest pitch; "" for a
    // unit the index does not hold.
    virtual std::string getRecordKey(const std::string& unit, const std::string& pitch) = 0;
    // A record only for the very pitch it was recorded at (enharmonic names
    // match); null otherwise, or when it cannot be read.
    virtual std::unique_ptr<VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) = 0;
    virtual std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch) = 0;
    virtual std::unique_ptr<ContinuantSrc> getContinuantSrc(const std::string& unit, const std::string& pitch) = 0;
    virtual std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                               const std::string& pitch) = 0;

    // Samples between frames.
    virtual std::int32_t getHopSize() = 0;
    virtual float getSampleRate() = 0;
    virtual float getParam3() = 0;
    virtual float getParam4() = 0;
    virtual float getParam5() = 0;
    // Highest frequency of the harmonic phase generator.
    virtual float getMaxHarmonicFreq() = 0;
    // Integer setting of the harmonic phase generator.
    virtual std::int32_t getPhaseSetting() = 0;
    virtual std::int32_t getParam8() = 0;
    // The Power bump: height in dB at Power 1, centre and width in Hz.
    virtual float getPowerAmount() = 0;
    virtual float getPowerCentre() = 0;
    virtual float getPowerWidth() = 0;
    virtual std::string getString1() = 0;
    virtual std::string getString2() = 0;
    // The bank language: "CHN" for pinyin; from the sixth generation on any
    // other text is the bank's own phoneme table.
    virtual std::string getLanguage() = 0;
    virtual bool hasExt1() = 0;
    virtual std::int32_t getTimbreCount() = 0;
    // Clears the three names, then fills them for 0 <= index < count.
    virtual void getTimbrePitchNames(std::int32_t index, std::string& low, std::string& middle,
                                     std::string& high) = 0;
    // Thousandths of the formant-warp ratio at gender 0, +1 and -1.
    virtual void getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower) = 0;
};

}  // namespace HalvorenEngine
