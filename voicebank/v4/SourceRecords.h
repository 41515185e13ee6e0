#pragma once
// The fourth generation's records: nine voice values and four continuant
// values, all int32, with the third generation's material layout.
#include <cstdint>

#include "voicebank/package/SourceRecordShapes.h"

namespace HalvorenEngineV4 {

struct SrcParameter : Halvoren::RecordNames {
    using RecordNames::RecordNames;
    std::int32_t v4Param1 = 0;
    std::int32_t v4Param2 = 0;
    std::int32_t v4Param3 = 0;
    std::int32_t v4Param4 = 0;
    std::int32_t v4Param5 = 0;
    std::int32_t v4Param6 = 0;
    std::int32_t v4Param7 = -1;
    std::int32_t v4Param8 = -1;
    std::int32_t v4Param9 = 0;
};

struct SrcContinuantParameter : Halvoren::RecordNames {
    using RecordNames::RecordNames;
    std::int32_t v4ContParam1 = 0;
    std::int32_t v4ContParam2 = 0;
    std::int32_t v4ContParam3 = -1;
    std::int32_t v4ContParam4 = 0;
};

using SrcMaterial = Halvoren::GhrSrcMaterial<4>;
using VoiceSrc = Halvoren::WithMaterial<SrcParameter, SrcMaterial>;
using ContinuantSrc = Halvoren::WithMaterial<SrcContinuantParameter, SrcMaterial>;

}  // namespace HalvorenEngineV4
