#include "voicebank/package/GhrMaterialRead.h"

namespace Halvoren {

void readGhrMaterial(RecordParse& reading, GHR_modelPkg& model, StepTable* ext1)
{
    model.readFrom(reading.part("band model"));
    if (!ext1)
        return;
    CMemoryStream& stream = reading.part("phase table");
    if (stream.remaining() <= 0)
        return;
    stream.readFloat(ext1->step);
    stream.readInt32(ext1->stride);
    stream.readInt32(ext1->rows);
    stream.readFloatArray(ext1->values);
}

}  // namespace Halvoren
