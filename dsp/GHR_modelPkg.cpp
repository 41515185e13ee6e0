#include "dsp/GHR_modelPkg.h"

namespace Halvoren {

bool GHR_modelPkg::readFrom(CMemoryStream& stream)
{
    stream.readInt32(leadValue);
    stream.readInt32(frameSize);
    stream.readFloat(sampleRate);
    peaks.readFrom(stream);
    magsA.readFrom(stream);
    magsB.readFrom(stream);
    return bands.readFrom(stream);
}

}  // namespace Halvoren
