#include "model/audio/CWavBuf.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace HalvorenEditor {

namespace {

constexpr uint32_t kGrowthBytes = 1024000;

int64_t readLittleEndian(const unsigned char* p, int bytes)
{
    uint64_t v = 0;
    for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | p[k];
    return static_cast<int64_t>(v);
}

// Truncates toward zero and clamps to [lo, hi]; NaN gives 0.
int64_t saturatingTrunc(double v, int64_t lo, int64_t hi)
{
    if (std::isnan(v)) return 0;
    if (v <= static_cast<double>(lo)) return lo;
    // hi may not be representable as a double (INT64_MAX): compare against
    // the power of two just above it.
    if (v >= static_cast<double>(hi) + 1.0) return hi;
    int64_t t = static_cast<int64_t>(v);
    return t > hi ? hi : t;
}

// Walks the output frames of linear resampling from `frames` input frames,
// `step` input frames apart: lead(pos) for each frame of the lead-in, the
// interval from a silent frame before the start to frame 0; between(i, pos)
// for each frame between input frames i and i + 1.
template <class Lead, class Between>
void walkResampling(uint32_t frames, float step, Lead&& lead, Between&& between)
{
    float pos = 0.0f;
    while (pos <= 1.0f) {
        lead(pos);
        pos += step;
    }
    pos -= 1.0f;
    if (frames <= 1) return;
    uint32_t i = 0;
    for (;;) {
        if (pos > 1.0f) {
            pos -= 1.0f;
            if (++i >= frames - 1) return;
            continue;
        }
        between(i, pos);
        pos += step;
    }
}

}  // namespace

CWavBuf::CWavBuf() : fifo(kGrowthBytes) {}

uint32_t CWavBuf::sampleCount() const
{
    if (bytesPerSample <= 0) return 0;
    return fifo.numSamples() / static_cast<uint32_t>(bytesPerSample);
}

float CWavBuf::sampleToFloat(uint32_t i) const
{
    if (i >= sampleCount()) return 0.0f;
    const unsigned char* p = fifo.ptrBegin() + static_cast<size_t>(i) * bytesPerSample;
    switch (bytesPerSample) {
    case 1:
        return static_cast<float>((static_cast<int>(p[0]) - 128) / 127.0);
    case 2:
        return static_cast<float>(static_cast<int16_t>(readLittleEndian(p, 2)) / 32767.0);
    case 3: {
        int32_t v = static_cast<int32_t>(readLittleEndian(p, 3));
        if (v & 0x800000) v -= 0x1000000;
        return static_cast<float>(v / 8388607.0);
    }
    case 4:
        if (isFloat) {
            float f;
            std::memcpy(&f, p, sizeof f);
            return f;
        }
        return static_cast<float>(static_cast<int32_t>(readLittleEndian(p, 4)) * 4.656612873077393e-10);
    case 8:
        if (isFloat) {
            double d;
            std::memcpy(&d, p, sizeof d);
            return static_cast<float>(d);
        }
        return static_cast<float>(static_cast<double>(readLittleEndian(p, 8)) * 1.0842021724855044e-19);
    default:
        return 0.0f;
    }
}

void CWavBuf::floatToSample(float x)
{
    const double v = x;
    int64_t stored = 0;
    switch (bytesPerSample) {
    case 1:
        stored = 128 + saturatingTrunc(v * 127.0, -128, 127);
        break;
    case 2:
        stored = saturatingTrunc(v * 32767.0, INT16_MIN, INT16_MAX);
        break;
    case 3:
        stored = saturatingTrunc(v * 8388607.0, -8388608, 8388607);
        break;
    case 4:
        if (isFloat) {
            fifo.putSamples(reinterpret_cast<const unsigned char*>(&x), 4);
            return;
        }
        stored = saturatingTrunc(v * 2147483648.0, INT32_MIN, INT32_MAX);
        break;
    case 8:
        if (isFloat) {
            fifo.putSamples(reinterpret_cast<const unsigned char*>(&v), 8);
            return;
        }
        stored = saturatingTrunc(v * 9223372036854775808.0, INT64_MIN, INT64_MAX);
        break;
    default:
        return;
    }
    unsigned char bytes[8];
    uint64_t u = static_cast<uint64_t>(stored);
    for (int k = 0; k < bytesPerSample; ++k, u >>= 8) bytes[k] = static_cast<unsigned char>(u & 0xFF);
    fifo.putSamples(bytes, static_cast<uint32_t>(bytesPerSample));
}

void CWavBuf::assign(const CWavBuf& src)
{
    takeChannel(src, 0, src.channels == 1 ? 1 : 2);
}

void CWavBuf::appendFrom(const CWavBuf& src)
{
    // Only a stereo source has a second channel; otherwise nothing is taken.
    takeChannel(src, 1, src.channels == 2 ? 2 : 0);
}

void CWavBuf::takeChannel(const CWavBuf& src, uint32_t channel, uint32_t stride)
{
    CWavBuf mono;
    mono.bytesPerSample = src.bytesPerSample;
    mono.sampleRate = src.sampleRate;
    mono.isFloat = src.isFloat;
    if (stride == 1) {
        mono.fifo.putSamples(src.fifo);  // a mono source is copied byte for byte
    } else if (stride > 0) {
        const uint32_t frames = src.sampleCount() / stride;
        const uint32_t width = static_cast<uint32_t>(src.bytesPerSample);
        mono.fifo.ensureCapacity(frames * width);
        const unsigned char* base = src.fifo.ptrBegin();
        for (uint32_t f = 0; f < frames; ++f) mono.fifo.putSamples(base + (size_t(f) * stride + channel) * width, width);
    }
    *this = std::move(mono);
}

uint64_t CWavBuf::playerFormatBytes(uint64_t samples, int32_t channels, int32_t rate)
{
    if (rate == kTargetRate || rate <= 0) return 2 * samples;
    // The lead-in adds about one output frame per input frame's worth.
    const double frames = (double(samples) + double(channels)) * kTargetRate / rate;
    return static_cast<uint64_t>(2 * frames) + 16;
}

void CWavBuf::convertSampleWidth()
{
    if (bytesPerSample == 2) return;
    const uint32_t n = sampleCount();
    if (int64_t(n) * 2 > kMaxBytes) throw std::length_error("clip too long for 16-bit samples");
    CWavBuf converted;
    converted.channels = channels;
    converted.sampleRate = sampleRate;
    converted.bytesPerSample = 2;
    converted.fifo.ensureCapacity(n * 2);
    for (uint32_t i = 0; i < n; ++i) converted.floatToSample(sampleToFloat(i));
    bytesPerSample = 2;
    fifo = std::move(converted.fifo);
}

void CWavBuf::resample() { resampleInterleaved(1, false); }

void CWavBuf::resampleAndRemix() { resampleInterleaved(2, false); }

void CWavBuf::resampleApart()
{
    if (sampleRate == kTargetRate)
        separateChannels();
    else
        resampleInterleaved(2, true);
}

void CWavBuf::resampleInterleaved(uint32_t stride, bool apart)
{
    if (sampleRate == kTargetRate) return;
    if (sampleRate < kMinSampleRate) throw std::length_error("sample rate too low to resample");
    const uint32_t n = sampleCount();
    const uint32_t frames = n / stride;
    const float step = static_cast<float>(sampleRate / 44100.0);

    // Room for exactly the frames made, counted first: growing the clip
    // while it is written would hold it twice.
    uint64_t made = 0;
    walkResampling(frames, step, [&](float) { ++made; }, [&](uint32_t, float) { ++made; });
    const uint64_t bytes = made * stride * uint64_t(bytesPerSample);
    if (bytes > static_cast<uint64_t>(kMaxBytes)) throw std::length_error("resampled clip too long");

    CWavBuf out;
    out.bytesPerSample = bytesPerSample;
    out.channels = channels;
    out.sampleRate = kTargetRate;
    out.isFloat = (bytesPerSample == 4 || bytesPerSample == 8) && isFloat;
    out.fifo.ensureCapacity(static_cast<uint32_t>(bytes));

    // Frames of the channels from `first` up to `last` (exclusive), each
    // channel's samples between input frames i and i + 1 at pos.
    const auto write = [&](uint32_t first, uint32_t last) {
        walkResampling(
            frames, step,
            [&](float pos) {
                for (uint32_t c = first; c < last; ++c)
                    out.floatToSample(static_cast<float>(pos * double(sampleToFloat(c))));
            },
            [&](uint32_t i, float pos) {
                for (uint32_t c = first; c < last; ++c) {
                    const double a = sampleToFloat(stride * i + c), b = sampleToFloat(stride * (i + 1) + c);
                    out.floatToSample(static_cast<float>((1.0 - pos) * a + pos * b));
                }
            });
    };
    if (apart)
        for (uint32_t c = 0; c < stride; ++c) write(c, c + 1);
    else
        write(0, stride);
    *this = std::move(out);
}

void CWavBuf::separateChannels()
{
    if (channels != 2) return;
    const size_t width = size_t(bytesPerSample > 0 ? bytesPerSample : 1);
    const size_t frames = sampleCount() / 2;
    unsigned char* bytes = fifo.ptrBegin();
    // The second channel is copied out, the first moved to the front in
    // place (each frame's first sample moves to an earlier or equal place),
    // and the second put behind it.
    std::vector<unsigned char> second(frames * width);
    for (size_t f = 0; f < frames; ++f) std::memcpy(&second[f * width], bytes + (2 * f + 1) * width, width);
    for (size_t f = 1; f < frames; ++f) std::memmove(bytes + f * width, bytes + 2 * f * width, width);
    if (frames > 0) std::memcpy(bytes + frames * width, second.data(), second.size());
}

}  // namespace HalvorenEditor
