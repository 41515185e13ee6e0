#pragma once

#include "platform/Rand.h"

namespace Halvoren {

// Gaussian value by the Box-Muller method from two draws of the project's
// 15-bit generator gen (u1 first, then u2) and the fast log and sine.
float gaussNoise(HvRandGen& gen, float mean, float variance);

}  // namespace Halvoren
