#pragma once
// The sixth-generation voice bank as the engine, the cell makers, the record
// cache and the editor's synthesizer core see it: the common store slots
// over this generation's records, the format version and the values of the
// frame synthesis.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/IStoreSlots.h"
#include "voicebank/v6/SourceRecords.h"

namespace HalvorenEngineV6 {

class ISourceStore
    : public HalvorenEngine::IStoreSlots<VoiceSrc, SrcParameter, ContinuantSrc, SrcContinuantParameter> {
public:
    // The bank's format, 6.0, 6.1, 6.2 ...
    virtual std::int32_t getVersionMajor() = 0;
    virtual std::int32_t getVersionMinor() = 0;
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
