#include "dsp/GaussNoiseTable.h"

#include "dsp/GaussNoise.h"

namespace Halvoren {

GaussNoiseTable::GaussNoiseTable() : values(kLength)
{
    HvRandGen gen;
    for (float& v : values)
        v = gaussNoise(gen, 0.0f, 1.0f);
}

}  // namespace Halvoren
