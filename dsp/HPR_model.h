#pragma once
// The analysed form of one voice unit: the harmonic part as peak tracks and
// the residual (what remains once the harmonics are removed) as 16-bit
// samples. Frame i is centred on residual sample hop * i.
#include <cstdint>

#include "dsp/FIFOSampleBuffer.h"
#include "dsp/PeakTracks.h"

namespace Halvoren {

class HPR_model {
public:
    HPR_model() : residual(4096) {}
    virtual ~HPR_model() = default;
    HPR_model(const HPR_model&) = delete;
    HPR_model& operator=(const HPR_model&) = delete;

    // Becomes a copy of src: residual samples, every peak frame and the hop.
    // Assigning a model to itself changes nothing.
    void assign(const HPR_model& src);

    PeakTracks peaks;
    std::int32_t hop = -1;
    FIFOSampleBufferTemplate<short> residual;
};

}  // namespace Halvoren
