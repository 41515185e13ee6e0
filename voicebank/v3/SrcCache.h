#pragma once
// The records a third-generation engine job has loaded (see package/SrcCache.h).
#include "voicebank/package/SrcCache.h"
#include "voicebank/v3/SourceRecords.h"

namespace HalvorenEngineV3 {

using SrcCache = Halvoren::BasicSrcCache<VoiceSrc, ContinuantSrc, SrcParameter, SrcContinuantParameter>;

}  // namespace HalvorenEngineV3
