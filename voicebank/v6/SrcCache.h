#pragma once
// The records a sixth-generation engine job has loaded (see package/SrcCache.h).
#include "voicebank/package/SrcCache.h"
#include "voicebank/v6/SourceRecords.h"

namespace HalvorenEngineV6 {

using SrcCache = Halvoren::BasicSrcCache<VoiceSrc, ContinuantSrc, SrcParameter, SrcContinuantParameter>;

}  // namespace HalvorenEngineV6
