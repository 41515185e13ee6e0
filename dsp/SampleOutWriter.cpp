#include "dsp/SampleOutWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>

#include "dsp/NoiseWeightCap.h"
#include "dsp/NotFinite.h"
#include "dsp/SynthesisWindow.h"
#include "dsp/TruncToInt.h"
#include "dsp/Windows.h"

namespace HalvorenEngine {

SampleOutWriter::SampleOutWriter(OutputBuffer& out, int frameSize, int hop)
    : frameSize_(frameSize), hop_(hop),
      valid_(hop > 0 && frameSize > 0 && frameSize <= kMaxFrameSize && hop <= frameSize / 2), out_(out)
{
    data_.store(out.ptrBegin(), std::memory_order_release);
    if (!valid_)
        return;
    windows_[0] = makeSynthesisWindow(frameSize, hop);
    spreadWeights_ = spreadWeights(windows_[0], hop);
    fade_.resize(static_cast<std::size_t>(2 * hop));
    Halvoren::makeTriangularWindow(fade_.data(), 2 * hop);
}

bool SampleOutWriter::appendZeros(int frames)
{
    if (!valid_ || frames < 0)
        return false;
    const std::int64_t length = (std::int64_t(frames) + 1) * hop_;
    const std::int64_t capacity = length + frameSize_;
    if (capacity > kMaxSamples)
        return false;
    try {
        out_.clear();
        out_.ensureCapacity(static_cast<OutputBuffer::uint>(capacity));
        out_.putSamples(static_cast<OutputBuffer::uint>(length));
    } catch (const std::exception&) {
        // bad_alloc or length_error: the storage stays where it was; the output is left empty.
        clear();
        return false;
    }
    short* samples = out_.ptrBegin();
    std::memset(samples, 0, static_cast<std::size_t>(capacity) * sizeof(short));
    restartAt(samples, capacity, length);
    data_.store(samples, std::memory_order_release);
    return true;
}

void SampleOutWriter::clear()
{
    out_.clear();
    // An invalid writer never laid anything out.
    if (valid_)
        restartAt(nullptr, 0, 0);
}

void SampleOutWriter::restartAt(short* samples, std::int64_t capacity, std::int64_t length)
{
    samples_ = samples;
    capacity_ = capacity;
    // Room for two frames' reach; addFrames of many frames grows it.
    ring_.assign(std::bit_ceil(static_cast<std::size_t>(4 * hop_)), 0);
    pendingBase_ = 0;
    pendingEnd_ = 0;
    framesWritten_.store(0, std::memory_order_release);
    framesDrawn_.store(0, std::memory_order_release);
    finished_.store(false, std::memory_order_release);
    saturated_.store(0, std::memory_order_release);
    notFinite_.store(0, std::memory_order_release);
    length_.store(static_cast<int>(length), std::memory_order_release);
}

void SampleOutWriter::addFrame(int k, const float* frame, float g)
{
    addWindowed(k, windows_[0], frame, g);
}

void SampleOutWriter::addFrameSized(int k, int frameLength, const float* frame, float g)
{
    if (frameLength == 2 * frameSize_)
        addWindowed(k, longWindow(1), frame, g);
    else if (frameLength == 4 * frameSize_)
        addWindowed(k, longWindow(2), frame, g);
    else if (frameLength >= frameSize_)
        addWindowed(k, windows_[0], frame, g);
}

const std::vector<float>& SampleOutWriter::longWindow(int shift)
{
    std::vector<float>& window = windows_[shift];
    if (window.empty() && valid_)
        window = makeSynthesisWindow(frameSize_ << shift, hop_);
    return window;
}

void SampleOutWriter::addFrameInt(const float* frame, float g)
{
    addWindowed(framesWritten_.load(std::memory_order_relaxed), windows_[0], frame, g);
}

void SampleOutWriter::addFrames(int m, const short* samples, bool fadeIn, bool fadeOut)
{
    if (samples_ == nullptr || samples == nullptr || m < 0)
        return;
    const int n = framesWritten_.load(std::memory_order_relaxed);
    const std::int64_t start = std::int64_t(n) * hop_;
    const std::int64_t count = (std::int64_t(m) + 1) * hop_;
    if (start >= capacity_)
        return;
    extendTo(start + count);
    for (std::int64_t i = 0; i < count; ++i) {
        float w = 1.0f;
        const bool fadingIn = fadeIn && i < hop_;
        if (fadingIn)
            w *= fade_[static_cast<std::size_t>(i)];
        if (fadeOut && i >= count - hop_)
            w *= fade_[static_cast<std::size_t>(i - (count - hop_) + hop_)];
        const float value = w * static_cast<float>(samples[i]);
        if (fadingIn)
            mix(start + i, value);
        else
            place(start + i, value);
    }
    const std::int64_t frames = std::min<std::int64_t>(std::int64_t(n) + m, std::numeric_limits<int>::max());
    settleBelow(frames * hop_);
    framesWritten_.store(static_cast<int>(frames), std::memory_order_release);
}

namespace {

// truncToInt of a float sum: toward zero, clamped to int32, NaN giving 0.
// Written as selects, so that a run of sums converts several at once: the
// value is brought within the conversion's range (2147483520 is the largest
// float below 2^31) and the top end put back after.
inline std::int32_t truncSum(float v)
{
    float inRange = v < -2147483648.0f ? -2147483648.0f : v;
    inRange = inRange > 2147483520.0f ? 2147483520.0f : inRange;
    inRange = v != v ? 0.0f : inRange;
    const auto sum = static_cast<std::int32_t>(inRange);
    return v >= 2147483648.0f ? std::numeric_limits<std::int32_t>::max() : sum;
}

// The value a frame adds to its sample: nothing for a value that is not
// finite, which would otherwise wipe the sum or drive it to full scale.
inline float addedValue(float v, int unusable) { return unusable != 0 ? 0.0f : v; }

// sums[i] gains valueAt(from + i), as mix adds one value; returns how many
// of the values were not finite (at most count).
template <class ValueAt>
int mixRun(std::int32_t* sums, const ValueAt& valueAt, int from, int count)
{
    int bad = 0;
    for (int i = 0; i < count; ++i) {
        const float value = valueAt(from + i);
        const int unusable = Halvoren::notFinite(value);
        bad += unusable;
        sums[i] = truncSum(static_cast<float>(sums[i]) + addedValue(value, unusable));
    }
    return bad;
}

// Saturates count sums into samples and clears them (in 32 bits, which
// holds every sum, so that the loop runs several at once); returns how many
// did not fit.
std::int64_t settleRun(std::int32_t* sums, short* samples, std::int64_t count)
{
    std::int64_t saturated = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int32_t sample = std::clamp<std::int32_t>(sums[i], -32768, 32767);
        saturated += sample != sums[i];
        samples[i] = static_cast<short>(sample);
        sums[i] = 0;
    }
    return saturated;
}

}  // namespace

void SampleOutWriter::addWindowed(int k, const std::vector<float>& window, const float* frame, float g)
{
    if (frame == nullptr || window.empty())
        return;
    const int centre = static_cast<int>(window.size()) / 2;
    const float* w = window.data() + (centre - hop_);
    const float* f = frame + (centre - hop_);
    mixFrame(k, [=](int i) { return kGain * g * w[i] * f[i]; });
}

void SampleOutWriter::addWindowedFrame(int k, const float* curve, const float* noise, const float* harmonics)
{
    if (curve == nullptr || noise == nullptr || harmonics == nullptr || windows_[0].empty())
        return;
    const int o = frameSize_ / 2 - hop_;
    const float* w = windows_[0].data() + o;
    const float* v = spreadWeights_.data();
    const float* m = curve + o;
    const float* nz = noise + o;
    const float* hm = harmonics + o;
    mixFrame(k, [=](int j) { return kGain * (w[j] * hm[j] + v[j] * nz[j] * m[j]); });
}

template <class ValueAt>
void SampleOutWriter::mixFrame(int k, const ValueAt& valueAt)
{
    if (samples_ == nullptr)
        return;
    const std::int64_t start = std::int64_t(k) * hop_;
    if (start >= capacity_ || start + 2 * hop_ <= 0)
        return;
    // One writing thread: a plain increment, published for readers.
    framesDrawn_.store(framesDrawn_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    const bool advances = k + 1 > framesWritten_.load(std::memory_order_relaxed);
    // This frame reaches no sample below its start, and every one of them is
    // settled once it is written anyway.
    if (advances)
        settleBelow(start);
    extendTo(start + 2 * hop_);
    const std::int64_t end = start + 2 * hop_;
    if (start >= pendingBase_ && end <= capacity_) {
        // The whole frame lands on pending sums.
        pendingAt(end - 1);
        // In the ring the frame's sums lie in at most two runs.
        const auto size = static_cast<std::int64_t>(ring_.size());
        const std::int64_t at = start & (size - 1);
        const int firstRun = static_cast<int>(std::min<std::int64_t>(2 * hop_, size - at));
        countNotFinite(std::int64_t{mixRun(ring_.data() + at, valueAt, 0, firstRun)} +
                       mixRun(ring_.data(), valueAt, firstRun, 2 * hop_ - firstRun));
        pendingEnd_ = std::max(pendingEnd_, end);
    } else {
        int bad = 0;
        for (int i = 0; i < 2 * hop_; ++i) {
            const float value = valueAt(i);
            const int unusable = Halvoren::notFinite(value);
            bad += unusable;
            mix(start + i, addedValue(value, unusable));
        }
        countNotFinite(bad);
    }
    // The count only grows: a frame reaching back leaves it alone.
    if (advances) {
        settleBelow(std::int64_t(k + 1) * hop_);
        framesWritten_.store(k + 1, std::memory_order_release);
    }
}

void SampleOutWriter::extendTo(std::int64_t end)
{
    const std::int64_t target = std::min(end, capacity_);
    const int length = length_.load(std::memory_order_relaxed);
    if (target <= length)
        return;
    // Within the reserved storage, which appendZeros zeroed: the samples do not move.
    out_.putSamples(static_cast<OutputBuffer::uint>(target - length));
    length_.store(static_cast<int>(target), std::memory_order_release);
}

void SampleOutWriter::mix(std::int64_t sample, float value)
{
    if (sample < 0 || sample >= capacity_)
        return;
    if (sample < pendingBase_) {
        // A frame reaching back behind the settled samples adds to them directly.
        short& s = samples_[sample];
        s = settled(truncToInt64(static_cast<float>(s) + value));
        return;
    }
    std::int32_t& sum = pendingAt(sample);
    sum = truncSum(static_cast<float>(sum) + value);
    pendingEnd_ = std::max(pendingEnd_, sample + 1);
}

void SampleOutWriter::place(std::int64_t sample, float value)
{
    if (sample < 0 || sample >= capacity_)
        return;
    if (sample < pendingBase_) {
        samples_[sample] = settled(truncToInt64(value));
        return;
    }
    pendingAt(sample) = truncToInt(value);
    pendingEnd_ = std::max(pendingEnd_, sample + 1);
}

std::int32_t& SampleOutWriter::pendingAt(std::int64_t sample)
{
    const std::int64_t span = sample - pendingBase_ + 1;
    if (span > static_cast<std::int64_t>(ring_.size()))
        growRing(span);
    return ring_[static_cast<std::size_t>(sample & (static_cast<std::int64_t>(ring_.size()) - 1))];
}

void SampleOutWriter::growRing(std::int64_t span)
{
    std::vector<std::int32_t> grown(std::bit_ceil(static_cast<std::size_t>(span)), 0);
    const auto oldMask = static_cast<std::int64_t>(ring_.size()) - 1;
    const auto newMask = static_cast<std::int64_t>(grown.size()) - 1;
    for (std::int64_t s = pendingBase_; s < pendingEnd_; ++s)
        grown[static_cast<std::size_t>(s & newMask)] = ring_[static_cast<std::size_t>(s & oldMask)];
    ring_.swap(grown);
}

void SampleOutWriter::settleBelow(std::int64_t end)
{
    end = std::min(end, capacity_);
    if (end <= pendingBase_)
        return;
    // The held sums lie in the ring in at most two runs.
    const auto size = static_cast<std::int64_t>(ring_.size());
    for (std::int64_t s = pendingBase_, held = std::min(end, pendingEnd_); s < held;) {
        const std::int64_t at = s & (size - 1);
        const std::int64_t count = std::min(held - s, size - at);
        countSaturated(settleRun(ring_.data() + at, samples_ + s, count));
        s += count;
    }
    pendingBase_ = end;
    pendingEnd_ = std::max(pendingEnd_, end);
}

void SampleOutWriter::countSaturated(std::int64_t n)
{
    if (n > 0)
        saturated_.store(saturated_.load(std::memory_order_relaxed) + n, std::memory_order_release);
}

void SampleOutWriter::countNotFinite(std::int64_t n)
{
    if (n > 0)
        notFinite_.store(notFinite_.load(std::memory_order_relaxed) + n, std::memory_order_release);
}

short SampleOutWriter::settled(std::int64_t sum)
{
    const short sample = saturateToInt16(sum);
    countSaturated(sample != sum ? 1 : 0);
    return sample;
}

void SampleOutWriter::finish()
{
    if (samples_ == nullptr)
        return;
    settleBelow(capacity_);
    finished_.store(true, std::memory_order_release);
}

int SampleOutWriter::produced() const
{
    const int length = length_.load(std::memory_order_acquire);
    if (finished_.load(std::memory_order_acquire))
        return length;
    const std::int64_t written = std::int64_t(hop_) * framesWritten_.load(std::memory_order_acquire);
    return static_cast<int>(std::min<std::int64_t>(written, length));
}

}  // namespace HalvorenEngine
