#pragma once
// The second generation's records: fifteen voice values (three ratios, 0.5
// until read), a harmonic-plus-residual material with harmonic levels.
#include "voicebank/package/SourceRecordShapes.h"

namespace HalvorenEngineV2 {

using SrcParameter = Halvoren::BasicSrcParameter<2>;
using SrcMaterial = Halvoren::HprSrcMaterial<2>;
using VoiceSrc = Halvoren::WithMaterial<SrcParameter, SrcMaterial>;
using SrcContinuantParameter = Halvoren::BasicSrcContinuantParameter<2>;
using ContinuantSrc = Halvoren::WithMaterial<SrcContinuantParameter, SrcMaterial>;
using SynthetiseSource = Halvoren::BasicSynthetiseSource<2>;

}  // namespace HalvorenEngineV2
