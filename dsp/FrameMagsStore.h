#pragma once
// Frames of spectral magnitudes kept in one float vector, frame i being the
// counts[i] values from offsets[i] on, read from a record in a plain or a
// compact form.
#include <cstdint>

#include "dsp/CMemoryStream.h"
#include "dsp/FIFOSampleBuffer.h"
#include "dsp/FrameMags.h"

namespace Halvoren {

class FrameMagsStore {
public:
    FrameMagsStore() : FrameMagsStore(44100.0f) {}
    explicit FrameMagsStore(float rate) : sampleRate(rate), offsets(512), counts(512), data(512) {}
    virtual ~FrameMagsStore() = default;
    FrameMagsStore(const FrameMagsStore&) = delete;
    FrameMagsStore& operator=(const FrameMagsStore&) = delete;

    // Plain form: frameSize (int32), sampleRate (float), frameCount (int32),
    // then offsets, counts and data as int32 count plus values.
    void readFrom(CMemoryStream& stream);
    // Compact form: the three scalars byte-rotated, then three compact vectors.
    void readFromCompactStream(CMemoryStream& stream);

    // A compact vector: the vector is cleared; a byte-rotated float count,
    // truncated (NaN and negatives as 0); when positive, the count * 4 data
    // bytes stored as one rotated block. A count beyond the bytes left leaves
    // the vector empty and the position after the count.
    static void readFromCompact(CMemoryStream& stream, FastVector<float>& out);
    static void readFromCompact(CMemoryStream& stream, FastVector<std::int32_t>& out);

    // Copies frame index into out with the store's frame size and rate. An
    // index outside the frames, offsets or counts, or values outside data,
    // give an empty out.
    void getFrame(int index, FrameMags& out) const;

    std::int32_t frameSize = 512;
    float sampleRate;
    std::int32_t frameCount = 0;
    FastVector<std::int32_t> offsets;
    FastVector<std::int32_t> counts;
    FastVector<float> data;

private:
    void clearFrames();
};

}  // namespace Halvoren
