#pragma once

namespace Halvoren {

// Gaussian value by the Box-Muller method from two draws of the project's
// 15-bit generator (u1 first, then u2) and the fast log and sine.
float gaussNoise(float mean, float variance);

}  // namespace Halvoren
