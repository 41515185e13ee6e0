#pragma once
// One frame of spectral magnitudes or band values, with the FFT size and the
// sample rate its values belong to, and element-wise frame arithmetic.
#include <cstdint>

#include "dsp/FIFOSampleBuffer.h"

namespace Halvoren {

class FrameMags : public FastVector<float> {
public:
    FrameMags() : FastVector<float>(512) {}

    void assign(const FrameMags& src)
    {
        if (&src == this)
            return;
        clear();
        putSamples(src);
        frameSize = src.frameSize;
        sampleRate = src.sampleRate;
    }

    std::int32_t frameSize = 0;
    float sampleRate = 0.0f;
};

// a[i] -= b[i] over the shorter length.
void frameSubtract(FastVector<float>& a, const FastVector<float>& b);
// a[i] += b[i] over the shorter length.
void frameAdd(FastVector<float>& a, const FastVector<float>& b);
// a[i] += s * b[i] over the shorter length.
void frameAddScaled(FastVector<float>& a, const FastVector<float>& b, float s);
// a[i] += c for every element.
void frameAddScalar(FastVector<float>& a, float c);
// out = (1 - w) * b + w * a over the shorter length of a and b.
void frameMix(const FastVector<float>& a, const FastVector<float>& b, float w, FastVector<float>& out);

}  // namespace Halvoren
