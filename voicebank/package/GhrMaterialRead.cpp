#include "voicebank/package/GhrMaterialRead.h"

namespace Halvoren {

void readGhrMaterial(CMemoryStream& stream, GHR_modelPkg& model, StepTable* ext1)
{
    // A band block cut short still leaves what was read; the record stays.
    model.readFrom(stream);
    if (!ext1 || stream.remaining() <= 0)
        return;
    stream.readFloat(ext1->step);
    stream.readInt32(ext1->stride);
    stream.readInt32(ext1->rows);
    stream.readFloatArray(ext1->values);
}

}  // namespace Halvoren
