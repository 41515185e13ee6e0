#pragma once
// The synthesis sources of the second generation: a unit's voice followed
// by a held continuant and the head of the next unit, or joined straight to
// the next unit, with level-scaled joins at FFT size 512.
#include <string>

#include "voicebank/package/SynthSrcCache.h"
#include "voicebank/v2/SourceRecords.h"

namespace HalvorenEngineV2 {

using SynthSrcCache = Halvoren::BasicSynthSrcCache<2>;
using RecordSlots = Halvoren::BasicRecordSlots<2>;

// The source of unit u (final e) at pitch p before the neighbours b and c,
// found in or built into cache from the records of store; null, caching
// nothing, when u has no voice recorded at exactly p. The key always keeps
// both neighbours.
SynthetiseSource* makeSynthetiseSource(const std::string& u, const std::string& e, const std::string& b,
                                       const std::string& c, const std::string& p, SynthSrcCache& cache,
                                       RecordSlots& store);

}  // namespace HalvorenEngineV2
