#pragma once
// One frame handed to an engine's frame synthesis: spectral magnitudes, the
// harmonic peaks, and a flag and a value that the engines fill.
#include <cstdint>

#include "dsp/FrameMags.h"
#include "dsp/PeakList.h"

namespace Halvoren {

struct SynthFrame {
    FrameMags mags;
    PeakList peaks;
    std::uint8_t flag = 0;
    std::int32_t value = 0;
};

}  // namespace Halvoren
