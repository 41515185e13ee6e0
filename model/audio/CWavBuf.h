#pragma once
// PCM audio of an accompaniment clip: raw interleaved little-endian sample
// bytes with their format, single-sample conversion to and from float for
// every supported width, and the conversions that bring a clip to the
// players' format (16-bit samples at 44100 Hz, one or two channels).
#include <cstdint>

#include "dsp/FIFOSampleBuffer.h"

namespace HalvorenEditor {

class CWavBuf {
public:
    // The players' rate; resampling always targets it.
    static constexpr int32_t kTargetRate = 44100;
    // Upper bound of a clip's sample bytes: the frame count of a clip is a
    // 32-bit signed value. Conversions that would exceed it throw
    // std::length_error instead of growing without bound.
    static constexpr int64_t kMaxBytes = INT32_MAX;
    // Lowest rate resampled: resampling makes kTargetRate / rate samples of
    // each one, so this floor holds a clip's growth to at most 44.1 times
    // its samples (a 40 kB clip declared at 1 Hz would need 1.76 GB).
    static constexpr int32_t kMinSampleRate = 1000;
    // A reader holds at most this many bytes per byte of its file beyond
    // the samples it has read or decoded (room reserved ahead of them). The
    // samples are not counted: a low-bit-rate MP3 decodes to hundreds of
    // times its size by nature, and only the clip budget refuses a clip.
    static constexpr uint64_t kMaxBytesPerFileByte = 100;

    CWavBuf();
    CWavBuf(const CWavBuf&) = default;
    CWavBuf(CWavBuf&&) = default;
    CWavBuf& operator=(const CWavBuf&) = default;
    CWavBuf& operator=(CWavBuf&&) = default;
    virtual ~CWavBuf() = default;

    // Every byte is one FIFO element, so fifo.numSamples() is a byte count.
    FIFOSampleBufferTemplate<unsigned char> fifo;
    // Width of one sample of one channel: 1, 2, 3, 4 or 8 bytes (other
    // widths are kept but read as silence).
    int32_t bytesPerSample = 2;
    int32_t channels = 1;
    int32_t sampleRate = kTargetRate;
    // Widths 4 and 8 only: IEEE float / double samples instead of integers.
    bool isFloat = false;

    // Single samples (not frames) held: the byte count divided by the width.
    uint32_t sampleCount() const;
    // The bytes `samples` single samples of `channels` channels at `rate` Hz
    // take once brought to 16 bits at 44100 Hz.
    static uint64_t playerFormatBytes(uint64_t samples, int32_t channels, int32_t rate);
    // Sample i as float (integers scaled to about -1..1); 0.0 past the end
    // and for unsupported widths.
    float sampleToFloat(uint32_t i) const;
    // Appends x in the current width and format. Integer widths saturate at
    // their range; NaN stores the zero level.
    void floatToSample(float x);

    // Mono copy of the source's first channel (a stereo source keeps its
    // even samples; a mono source is copied whole).
    void assign(const CWavBuf& src);
    // Mono copy of a stereo source's second channel; empty for any other
    // channel count.
    void appendFrom(const CWavBuf& src);

    // Makes the samples 16-bit.
    void convertSampleWidth();
    // Linear resampling to 44100 Hz of the sample sequence read as one
    // channel, starting with the interval from silence to the first sample.
    // A rate below kMinSampleRate (0 and negative ones included), or an
    // output beyond kMaxBytes, throws std::length_error before anything is
    // allocated and leaves the buffer as it was.
    void resample();
    // The same for two interleaved channels, the channel count kept.
    void resampleAndRemix();
    // resampleAndRemix with the two channels one after the other instead of
    // interleaved: every sample of the first channel, then every sample of
    // the second, each half of sampleCount() long. A buffer at 44100 Hz is
    // only reordered. The resampled samples are written apart as they are
    // made, so the clip is never held twice.
    void resampleApart();

private:
    // This buffer becomes a mono copy of one channel of src read with the
    // given number of interleaved channels (1: every byte of src; 0: empty).
    void takeChannel(const CWavBuf& src, uint32_t channel, uint32_t stride);
    // Linear resampling of `stride` interleaved channels to 44100 Hz, the
    // output interleaved or with its channels apart.
    void resampleInterleaved(uint32_t stride, bool apart);
    // Puts the channels of a two-channel buffer one after the other.
    void separateChannels();
};

}  // namespace HalvorenEditor
