#pragma once
// The sixth generation's records: eight voice values and seven continuant
// values, all int32, each loaded form owning a compact voice model.
#include <cstdint>
#include <string>
#include <utility>

#include "voicebank/package/SourceRecordShapes.h"
#include "voicebank/v6/HvVoiceModelCompact.h"

namespace HalvorenEngineV6 {

struct SrcParameter : Halvoren::RecordNames {
    using RecordNames::RecordNames;
    std::int32_t v6Param1 = 0;
    std::int32_t v6Param2 = 0;
    std::int32_t v6Param3 = 0;
    std::int32_t v6Param4 = 0;
    std::int32_t v6Param5 = 0;
    std::int32_t v6Param6 = 0;
    std::int32_t v6Param7 = -1;
    std::int32_t v6Param8 = -1;
};

struct SrcContinuantParameter : Halvoren::RecordNames {
    using RecordNames::RecordNames;
    std::int32_t v6ContParam1 = 0;
    std::int32_t v6ContParam2 = 0;
    std::int32_t v6ContParam3 = -1;
    std::int32_t v6ContParam4 = -1;
    std::int32_t v6ContParam5 = -2;
    std::int32_t v6ContParam6 = -3;
    std::int32_t v6ContParam7 = -4;
};

// The compact model of one unit at one pitch, for 44100 Hz, with its names.
struct SrcMaterial : HVVM_V0::HvVoiceModelCompact, Halvoren::RecordNames {
    SrcMaterial(std::string unitName, std::string pitchName)
        : HvVoiceModelCompact(44100.0f), RecordNames(std::move(unitName), std::move(pitchName))
    {
    }
};

using VoiceSrc = Halvoren::WithMaterial<SrcParameter, SrcMaterial>;
using ContinuantSrc = Halvoren::WithMaterial<SrcContinuantParameter, SrcMaterial>;

}  // namespace HalvorenEngineV6
