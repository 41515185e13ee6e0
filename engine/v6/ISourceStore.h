#pragma once
// The sixth-generation voice bank as the engine, the cell makers, the record
// cache and the editor's synthesizer core see it: records by unit and pitch,
// the format version, the bank-wide header and the values of the frame
// synthesis. Records returned belong to the caller. Every operation may be
// called from two threads at once.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "voicebank/v6/SourceRecords.h"

namespace HalvorenEngineV6 {

class ISourceStore {
public:
    virtual ~ISourceStore() = default;

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
    // The bank's format, 6.0, 6.1, 6.2 ...
    virtual std::int32_t getVersionMajor() = 0;
    virtual std::int32_t getVersionMinor() = 0;

    // Samples between frames.
    virtual std::int32_t getHopSize() = 0;
    virtual float getSampleRate() = 0;
    virtual float getParam3() = 0;
    virtual float getParam4() = 0;
    virtual float getParam5() = 0;
    virtual float getMaxHarmonicFreq() = 0;
    virtual std::int32_t getPhaseSetting() = 0;
    virtual std::int32_t getParam8() = 0;
    virtual float getPowerAmount() = 0;
    virtual float getPowerCentre() = 0;
    virtual float getPowerWidth() = 0;
    virtual std::string getString1() = 0;
    virtual std::string getString2() = 0;
    // The bank's phoneme table text; "CHN" for the built-in Mandarin set.
    virtual std::string getLanguage() = 0;
    virtual bool hasExt1() = 0;
    virtual std::int32_t getTimbreCount() = 0;
    // Clears the three names, then fills them for 0 <= index < count.
    virtual void getTimbrePitchNames(std::int32_t index, std::string& low, std::string& middle,
                                     std::string& high) = 0;
    // Thousandths of the formant-warp ratio at gender 0, +1 and -1.
    virtual void getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower) = 0;
    // Level factor of the harmonic part.
    virtual float getHarmLevel() = 0;
    // Level of the noise part relative to the harmonic part.
    virtual float getNoiseRatio() = 0;
    virtual float getParam28() = 0;
    // Band count of the synthesis band layout.
    virtual std::int32_t getLayoutBandCount() = 0;
    // Band edges of the noise bank, in Hz.
    virtual const std::vector<float>& getBandEdges() = 0;
    // Point count of the bank's frequency grid.
    virtual std::int32_t getGridCount() = 0;
    // Appends unit + "_" + pitch + "/" for every variant of every unit.
    virtual void listUnitNames(std::vector<std::string>& names) = 0;
};

}  // namespace HalvorenEngineV6
