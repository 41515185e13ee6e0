#pragma once
// The transform of the 4-term Blackman-Harris window around a sinusoid: the
// spectrum value u bins away from the sinusoid's exact position, relative to
// the value at the position itself (so 1 at u = 0). The main lobe spans
// |u| < 4; beyond it the sidelobes stay below -92 dB.
namespace Halvoren {

double blackmanHarrisKernel(double u);

}  // namespace Halvoren
