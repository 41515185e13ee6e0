#include "voicebank/v3/SourceStorePackager.h"

#include "voicebank/package/VoiceValuesRead.h"

namespace HalvorenEngineV3 {

void RecordLayout::readValues(Halvoren::CMemoryStream& s, SrcParameter& p)
{
    Halvoren::readVoiceValues12(s, p);
    s.readFloat(p.ratio1);
    s.readFloat(p.ratio2);
    s.readFloat(p.ratio3);
    s.readInt32(p.param6);
}

void RecordLayout::readValues(Halvoren::CMemoryStream& s, SrcContinuantParameter& p)
{
    s.readInt32(p.param1);
    s.readInt32(p.param2);
    s.readInt32(p.hop);
}

}  // namespace HalvorenEngineV3
