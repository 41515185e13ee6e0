#include "voicebank/v4/SourceStorePackager.h"

namespace HalvorenEngineV4 {

void RecordLayout::readValues(Halvoren::CMemoryStream& s, SrcParameter& p)
{
    for (std::int32_t* v : {&p.v4Param1, &p.v4Param2, &p.v4Param3, &p.v4Param4, &p.v4Param5, &p.v4Param6,
                            &p.v4Param7, &p.v4Param8, &p.v4Param9})
        s.readInt32(*v);
}

void RecordLayout::readValues(Halvoren::CMemoryStream& s, SrcContinuantParameter& p)
{
    s.readInt32(p.v4ContParam1);
    s.readInt32(p.v4ContParam2);
    s.readInt32(p.v4ContParam4);  // the fourth stored value fills the third field
    s.readInt32(p.v4ContParam3);
}

}  // namespace HalvorenEngineV4
