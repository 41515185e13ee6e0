#pragma once
// The compact voice model of a sixth-generation record: three scalars, the
// unit's 16-bit samples and its packed peak frames stored plain, then four
// magnitude stores and four value vectors stored in the compact, byte-rotated
// form. What each store and vector means is the engine's business; this
// class fixes their order, types and encoding.
#include <cstdint>

#include "dsp/CMemoryStream.h"
#include "dsp/FIFOSampleBuffer.h"
#include "dsp/FrameMagsStore.h"
#include "dsp/PackedPeakFrames.h"

namespace HVVM_V0 {

class HvVoiceModelCompact {
public:
    explicit HvVoiceModelCompact(float rate);
    virtual ~HvVoiceModelCompact() = default;
    HvVoiceModelCompact(const HvVoiceModelCompact&) = delete;
    HvVoiceModelCompact& operator=(const HvVoiceModelCompact&) = delete;

    // Reads the members in field order, little-endian. Samples: an int32
    // count n, then n 16-bit samples; a count of 0 or less reads nothing
    // more, and a count whose samples the stream does not hold reads nothing
    // more either (the position stays after the count, the samples as they
    // were). A stream that ends early leaves the later members as
    // constructed; no count reserves more than the bytes left.
    void readFrom(Halvoren::CMemoryStream& stream);

    std::int32_t modelInt0 = 0;
    std::int32_t modelSize = 512;
    float sampleRate;
    Halvoren::FastVector<std::int16_t> samples;
    Halvoren::PackedPeakFrames peakFrames;
    Halvoren::FrameMagsStore mags1;
    Halvoren::FastVector<float> floats1;
    Halvoren::FrameMagsStore mags2;
    Halvoren::FrameMagsStore mags3;
    Halvoren::FastVector<std::int32_t> ints1;
    Halvoren::FastVector<float> floats2;
    Halvoren::FrameMagsStore mags4;
    Halvoren::FastVector<float> floats3;
};

}  // namespace HVVM_V0
