#pragma once
// The record fetches of the sixth-generation cell loop and cell makers: a
// unit's records at the pitch the index stores nearest the asked one,
// through the job's cache, which keeps what it loads.
#include <string>

#include "engine/v6/CellMakerState.h"
#include "engine/v6/CellWalk.h"

namespace HalvorenEngineV6 {

// The voice record of unit; null for a unit holding "_" (a continuant) or
// one the bank lacks. Without exact, the unit's form after a vowel ("-" +
// unit) is tried first. The consonant start of a syllable whose consonant
// is unvoiced is moved, in the cached record, to just after the last voiced
// frame before it (see lowerConsonantStart).
VoiceSrc* fetchVoiceSrc(const std::string& unit, const std::string& pitch, CellMakerState& state, bool exact);
// The same for the parameter record, never adjusted.
SrcParameter* fetchSrcParameter(const std::string& unit, const std::string& pitch, CellMakerState& state,
                                bool exact);
// The continuant first + "_" + second.
ContinuantSrc* fetchContinuantSrc(const std::string& first, const std::string& second, const std::string& pitch,
                                  CellMakerState& state);
SrcContinuantParameter* fetchContinuantParameter(const std::string& first, const std::string& second,
                                                 const std::string& pitch, CellMakerState& state);

// When the model's pitch is 0 at v6Param1 but above 0 at some frame before
// it, v6Param1 becomes k + 1 for the highest k below it where the pitch
// falls to 0 from a frame that is not 0, if that is lower. A mark outside
// the model leaves the record as it is.
void lowerConsonantStart(VoiceSrc& record);

// The walk's records, fetched through the state.
class StateCellRecords : public ICellRecords {
public:
    explicit StateCellRecords(CellMakerState& state) : state_(state) {}
    VoiceSrc* voiceSrc(const std::string& unit, const std::string& pitch, bool exact) override
    {
        return fetchVoiceSrc(unit, pitch, state_, exact);
    }
    SrcParameter* srcParameter(const std::string& unit, const std::string& pitch, bool exact) override
    {
        return fetchSrcParameter(unit, pitch, state_, exact);
    }

private:
    CellMakerState& state_;
};

}  // namespace HalvorenEngineV6
