#include "model/audio/CWavBuf.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <utility>

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

uint64_t CWavBuf::playerFormatBytes() const
{
    const uint64_t n = sampleCount();
    if (sampleRate == kTargetRate || sampleRate <= 0) return 2 * n;
    // The lead-in adds about one output frame per input frame's worth.
    const double frames = (double(n) + double(channels)) * kTargetRate / sampleRate;
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

void CWavBuf::resample() { resampleInterleaved(1); }

void CWavBuf::resampleAndRemix() { resampleInterleaved(2); }

void CWavBuf::resampleInterleaved(uint32_t stride)
{
    if (sampleRate == kTargetRate) return;
    if (sampleRate < kMinSampleRate) throw std::length_error("sample rate too low to resample");
    const uint32_t n = sampleCount();
    const uint32_t frames = n / stride;
    const float step = static_cast<float>(sampleRate / 44100.0);

    CWavBuf out;
    out.bytesPerSample = bytesPerSample;
    out.channels = channels;
    out.sampleRate = kTargetRate;
    out.isFloat = (bytesPerSample == 4 || bytesPerSample == 8) && isFloat;
    const double bytes = static_cast<double>(kTargetRate) * n / sampleRate * bytesPerSample + 16;
    if (bytes > static_cast<double>(kMaxBytes)) throw std::length_error("resampled clip too long");
    out.fifo.ensureCapacity(static_cast<uint32_t>(bytes));

    // Lead-in: the interval from a silent frame before the start to frame 0.
    float pos = 0.0f;
    while (pos <= 1.0f) {
        for (uint32_t c = 0; c < stride; ++c) out.floatToSample(static_cast<float>(pos * double(sampleToFloat(c))));
        pos += step;
    }
    pos -= 1.0f;

    if (frames > 1) {
        uint32_t i = 0;
        for (;;) {
            if (pos > 1.0f) {
                pos -= 1.0f;
                if (++i >= frames - 1) break;
                continue;
            }
            for (uint32_t c = 0; c < stride; ++c) {
                const double a = sampleToFloat(stride * i + c), b = sampleToFloat(stride * (i + 1) + c);
                out.floatToSample(static_cast<float>((1.0 - pos) * a + pos * b));
            }
            pos += step;
        }
    }
    *this = std::move(out);
}

}  // namespace HalvorenEditor
