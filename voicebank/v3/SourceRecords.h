#pragma once
// The third generation's records: sixteen voice values (param6 and three
// ratios added), a stored band model as material.
#include "voicebank/package/SourceRecordShapes.h"

namespace HalvorenEngineV3 {

using SrcParameter = Halvoren::BasicSrcParameter<3>;
using SrcMaterial = Halvoren::GhrSrcMaterial<3>;
using VoiceSrc = Halvoren::WithMaterial<SrcParameter, SrcMaterial>;
using SrcContinuantParameter = Halvoren::BasicSrcContinuantParameter<3>;
using ContinuantSrc = Halvoren::WithMaterial<SrcContinuantParameter, SrcMaterial>;

}  // namespace HalvorenEngineV3
