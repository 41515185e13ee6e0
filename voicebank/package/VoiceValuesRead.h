#pragma once
#include "dsp/CMemoryStream.h"
#include "voicebank/package/SourceRecordShapes.h"

namespace Halvoren {

// The twelve voice values every generation up to 3 stores first, in memory
// order.
void readVoiceValues12(CMemoryStream& s, VoiceValues12& v);

}  // namespace Halvoren
