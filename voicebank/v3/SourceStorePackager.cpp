#include "voicebank/v3/SourceStorePackager.h"

namespace HalvorenEngineV3 {

void RecordLayout::readValues(Halvoren::CMemoryStream& s, SrcParameter& p)
{
    s.readInt32(p.beginPos);
    s.readInt32(p.endPos);
    s.readInt32(p.param3);
    s.readInt32(p.param4);
    s.readInt32(p.param5);
    s.readFloat(p.param7);
    s.readInt32(p.param8);
    s.readInt32(p.param9);
    s.readFloat(p.param10);
    s.readInt32(p.param11);
    s.readFloat(p.param12);
    s.readFloat(p.param13);
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
