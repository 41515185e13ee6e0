#pragma once
// The records a fourth-generation engine job has loaded (see package/SrcCache.h).
#include "voicebank/package/SrcCache.h"
#include "voicebank/v4/SourceRecords.h"

namespace HalvorenEngineV4 {

using SrcCache = Halvoren::BasicSrcCache<VoiceSrc, ContinuantSrc, SrcParameter, SrcContinuantParameter>;

}  // namespace HalvorenEngineV4
