#pragma once
// The synthesis sources of the first generation: a unit's voice followed by
// a held continuant and, where one is recorded, the head of the next unit,
// joined through spline envelopes at FFT size 4096.
#include <string>

#include "voicebank/package/SynthSrcCache.h"
#include "voicebank/v1/SourceRecords.h"

namespace Halvoren {

using SynthSrcCache = BasicSynthSrcCache<1>;
using RecordSlots = BasicRecordSlots<1>;

// The source of unit u (final e) at pitch p before the neighbours b and c,
// found in or built into cache from the records of store; null, caching
// nothing, when u has no voice recorded at exactly p. Without a continuant
// the neighbours are dropped from the key: the voice alone is kept under
// u...p.
SynthetiseSource* makeSynthetiseSource(const std::string& u, const std::string& e, const std::string& b,
                                       const std::string& c, const std::string& p, SynthSrcCache& cache,
                                       RecordSlots& store);

}  // namespace Halvoren
