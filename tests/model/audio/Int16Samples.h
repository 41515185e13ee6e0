#pragma once
// The 16-bit samples and the format of a buffer, for comparisons in tests.
#include <cstring>
#include <tuple>
#include <vector>

#include "model/audio/CWavBuf.h"

inline std::vector<int16_t> int16Samples(const HalvorenEditor::CWavBuf& b, int stride = 1, int first = 0)
{
    std::vector<int16_t> out;
    for (uint32_t i = first; i < b.fifo.numSamples() / 2; i += stride) {
        int16_t v;
        std::memcpy(&v, b.fifo.ptrBegin() + 2 * i, 2);
        out.push_back(v);
    }
    return out;
}

// Bytes per sample, channels and sample rate.
inline std::tuple<int, int, int> formatOf(const HalvorenEditor::CWavBuf& b)
{
    return {b.bytesPerSample, b.channels, b.sampleRate};
}
