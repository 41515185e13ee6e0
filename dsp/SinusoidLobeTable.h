#pragma once
// Weight of a spectrum bin by its distance from a sinusoid's exact position:
// 1001 entries, every 1/100 of a bin from -5 to +5 bins (entry 500 is
// distance 0). Built once, shared read-only.
#include <array>

namespace Halvoren {

using SinusoidLobeTable = std::array<float, 1001>;

const SinusoidLobeTable& sinusoidLobeTable();

}  // namespace Halvoren
