#pragma once
// The first generation's records: twelve voice values, a harmonic-plus-
// residual material with full peak lists.
#include "voicebank/package/SourceRecordShapes.h"

namespace Halvoren {

using SrcParameter = BasicSrcParameter<1>;
using SrcMaterial = HprSrcMaterial<1>;
using VoiceSrc = WithMaterial<SrcParameter, SrcMaterial>;
using SrcContinuantParameter = BasicSrcContinuantParameter<1>;
using ContinuantSrc = WithMaterial<SrcContinuantParameter, SrcMaterial>;
using SynthetiseSource = BasicSynthetiseSource<1>;

}  // namespace Halvoren
