#include "dsp/GaussNoiseTable.h"

#include "dsp/GaussNoise.h"

namespace Halvoren {

GaussNoiseTable::GaussNoiseTable() : values(kLength)
{
    for (float& v : values)
        v = gaussNoise(0.0f, 1.0f);
}

}  // namespace Halvoren
