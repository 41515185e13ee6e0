#pragma once
// One cell of the first two generations: the frame of a note's synthesis
// source to render at one output frame, with the score's values there.
#include <string>

#include "dsp/FIFOSampleBuffer.h"
#include "dsp/PeakList.h"

namespace HalvorenEngineV1 {

struct Cell {
    // The source's residual (owned by the job's source cache) and the
    // sample the frame is centred on.
    const Halvoren::FIFOSampleBufferTemplate<short>* residual = nullptr;
    int position = 0;
    Halvoren::PeakList peaks;  // Hz, dB, radians
    std::string name;
    float sourcePitch = 0.0f;  // Hz, of the source's pitch name (second generation)
    float pitch = 0.0f;        // Hz, the score's
    float level = 0.0f;        // -1..1
    int number = 0;            // output frame index
    int index = 0;             // place within its note
    bool noise = false;        // harmonics of the residual get random phases
    float boost = 0.0f;        // formant boost weight (second generation)
};

}  // namespace HalvorenEngineV1
