#include "voicebank/package/VoiceValuesRead.h"

namespace Halvoren {

void readVoiceValues12(CMemoryStream& s, VoiceValues12& v)
{
    s.readInt32(v.beginPos);
    s.readInt32(v.endPos);
    s.readInt32(v.param3);
    s.readInt32(v.param4);
    s.readInt32(v.param5);
    s.readFloat(v.param7);
    s.readInt32(v.param8);
    s.readInt32(v.param9);
    s.readFloat(v.param10);
    s.readInt32(v.param11);
    s.readFloat(v.param12);
    s.readFloat(v.param13);
}

}  // namespace Halvoren
