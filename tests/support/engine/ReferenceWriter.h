#pragma once
// The writer as it was before its pending sums moved into a ring: a vector
// of int32 sums erased from its front. Kept to check that the ring writes
// the same samples bit for bit.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>
#include <vector>

#include "dsp/SampleOutWriter.h"
#include "dsp/SynthesisWindow.h"
#include "dsp/TruncToInt.h"
#include "dsp/Windows.h"

namespace enginetest {

using HalvorenEngine::OutputBuffer;
using HalvorenEngine::makeSynthesisWindow;
using HalvorenEngine::saturateToInt16;
using HalvorenEngine::truncToInt;
using HalvorenEngine::truncToInt64;

class ReferenceWriter {
public:
    // Scale from the frames' float samples to 16-bit samples.
    static constexpr float kGain = 32767.0f;

    // Writes into `out` with frame size N and hop h; the writer is usable
    // only with 0 < 2h <= N.
    ReferenceWriter(OutputBuffer& out, int frameSize, int hop);
    ReferenceWriter(const ReferenceWriter&) = delete;
    ReferenceWriter& operator=(const ReferenceWriter&) = delete;

    bool isValid() const { return valid_; }
    int frameSize() const { return frameSize_; }
    int hop() const { return hop_; }

    // Clears the output and lays out (frames + 1) * h silent samples; no
    // frame written, not finished. False, with nothing changed, for an
    // invalid writer, a negative count or a length beyond kMaxSamples; false
    // with an empty output when the allocation fails.
    bool appendZeros(int frames);

    // Adds frame k through the window of length N: sample k*h + i gains
    // 32767 * g * w[j] * frame[j], j = N/2 - h + i, for i < 2h. The frame
    // holds N samples.
    void addFrame(int k, const float* frame, float g);
    // As addFrame for a frame of frameLength samples: lengths 2N and 4N use
    // their own windows centred at frameLength / 2, any other length the
    // window of N (a frame shorter than N is ignored).
    void addFrameSized(int k, int frameLength, const float* frame, float g);
    // addFrame at the writer's own frame count n: the frame lands on the
    // samples n*h .. n*h + 2h - 1, and the count becomes n + 1.
    void addFrameInt(const float* frame, float g);
    // Places (m + 1) * h 16-bit samples from n*h on, n being the frame count,
    // which then becomes n + m. The samples replace what is there, except
    // that with fadeIn the first h are weighted by the rising half of the
    // triangle of 2h and added, and with fadeOut the last h are weighted by
    // its falling half: a fade-out followed by frames or a fade-in that
    // start at the same place crosses over without a step. m < 0 does nothing.
    void addFrames(int m, const short* samples, bool fadeIn, bool fadeOut);
    // The job ran to its end: every sample is final.
    void finish();

    // Reader side, safe from any thread.
    const short* data() const { return data_.load(std::memory_order_acquire); }
    int length() const { return length_.load(std::memory_order_acquire); }
    int framesWritten() const { return framesWritten_.load(std::memory_order_acquire); }
    bool isFinished() const { return finished_.load(std::memory_order_acquire); }
    // Samples that are final: the whole length once finished, else
    // hop * frames written (capped at the length).
    int produced() const;

    // Longest output accepted by appendZeros, reserve included, and the
    // largest frame size.
    static constexpr std::int64_t kMaxSamples = 1 << 29;
    static constexpr int kMaxFrameSize = 1 << 20;

private:
    // Points the writer at `samples` with nothing written and nothing pending.
    void restartAt(short* samples, std::int64_t capacity, std::int64_t length);
    void addWindowed(int k, const std::vector<float>& window, const float* frame, float g);
    void extendTo(std::int64_t end);
    void mix(std::int64_t sample, float value);
    void place(std::int64_t sample, float value);
    void settleBelow(std::int64_t end);

    const int frameSize_;
    const int hop_;
    const bool valid_;
    // Windows for frames of N, 2N and 4N samples.
    std::vector<float> windows_[3];
    // The triangle of 2h points whose halves fade addFrames' ends.
    std::vector<float> fade_;

    OutputBuffer& out_;
    short* samples_ = nullptr;
    std::int64_t capacity_ = 0;
    // Sums of the samples from pendingBase_ on that a later frame may still reach.
    std::vector<std::int32_t> pending_;
    std::int64_t pendingBase_ = 0;

    std::atomic<const short*> data_{nullptr};
    std::atomic<int> length_{0};
    std::atomic<int> framesWritten_{0};
    std::atomic<bool> finished_{false};
};

inline ReferenceWriter::ReferenceWriter(OutputBuffer& out, int frameSize, int hop)
    : frameSize_(frameSize), hop_(hop),
      valid_(hop > 0 && frameSize > 0 && frameSize <= kMaxFrameSize && hop <= frameSize / 2), out_(out)
{
    data_.store(out.ptrBegin(), std::memory_order_release);
    if (!valid_)
        return;
    for (int i = 0; i < 3; ++i)
        windows_[i] = makeSynthesisWindow(frameSize << i, hop);
    fade_.resize(static_cast<std::size_t>(2 * hop));
    Halvoren::makeTriangularWindow(fade_.data(), 2 * hop);
}

inline bool ReferenceWriter::appendZeros(int frames)
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
        out_.clear();
        restartAt(nullptr, 0, 0);
        return false;
    }
    short* samples = out_.ptrBegin();
    std::memset(samples, 0, static_cast<std::size_t>(capacity) * sizeof(short));
    restartAt(samples, capacity, length);
    data_.store(samples, std::memory_order_release);
    return true;
}

inline void ReferenceWriter::restartAt(short* samples, std::int64_t capacity, std::int64_t length)
{
    samples_ = samples;
    capacity_ = capacity;
    pending_.clear();
    pendingBase_ = 0;
    framesWritten_.store(0, std::memory_order_release);
    finished_.store(false, std::memory_order_release);
    length_.store(static_cast<int>(length), std::memory_order_release);
}

inline void ReferenceWriter::addFrame(int k, const float* frame, float g)
{
    addWindowed(k, windows_[0], frame, g);
}

inline void ReferenceWriter::addFrameSized(int k, int frameLength, const float* frame, float g)
{
    if (frameLength == 2 * frameSize_)
        addWindowed(k, windows_[1], frame, g);
    else if (frameLength == 4 * frameSize_)
        addWindowed(k, windows_[2], frame, g);
    else if (frameLength >= frameSize_)
        addWindowed(k, windows_[0], frame, g);
}

inline void ReferenceWriter::addFrameInt(const float* frame, float g)
{
    addWindowed(framesWritten_.load(std::memory_order_relaxed), windows_[0], frame, g);
}

inline void ReferenceWriter::addFrames(int m, const short* samples, bool fadeIn, bool fadeOut)
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

inline void ReferenceWriter::addWindowed(int k, const std::vector<float>& window, const float* frame, float g)
{
    if (samples_ == nullptr || frame == nullptr || window.empty())
        return;
    const std::int64_t start = std::int64_t(k) * hop_;
    if (start >= capacity_ || start + 2 * hop_ <= 0)
        return;
    extendTo(start + 2 * hop_);
    const int centre = static_cast<int>(window.size()) / 2;
    for (int i = 0; i < 2 * hop_; ++i) {
        const int j = centre - hop_ + i;
        mix(start + i, kGain * g * window[static_cast<std::size_t>(j)] * frame[j]);
    }
    // The count only grows: a frame reaching back leaves it alone.
    if (k + 1 > framesWritten_.load(std::memory_order_relaxed)) {
        settleBelow(std::int64_t(k + 1) * hop_);
        framesWritten_.store(k + 1, std::memory_order_release);
    }
}

inline void ReferenceWriter::extendTo(std::int64_t end)
{
    const std::int64_t target = std::min(end, capacity_);
    const int length = length_.load(std::memory_order_relaxed);
    if (target <= length)
        return;
    // Within the reserved storage, which appendZeros zeroed: the samples do not move.
    out_.putSamples(static_cast<OutputBuffer::uint>(target - length));
    length_.store(static_cast<int>(target), std::memory_order_release);
}

inline void ReferenceWriter::mix(std::int64_t sample, float value)
{
    if (sample < 0 || sample >= capacity_)
        return;
    if (sample < pendingBase_) {
        // A frame reaching back behind the settled samples adds to them directly.
        short& s = samples_[sample];
        s = saturateToInt16(truncToInt64(static_cast<float>(s) + value));
        return;
    }
    const auto index = static_cast<std::size_t>(sample - pendingBase_);
    if (index >= pending_.size())
        pending_.resize(index + 1, 0);
    std::int32_t& sum = pending_[index];
    sum = truncToInt(static_cast<float>(sum) + value);
}

inline void ReferenceWriter::place(std::int64_t sample, float value)
{
    if (sample < 0 || sample >= capacity_)
        return;
    if (sample < pendingBase_) {
        samples_[sample] = saturateToInt16(truncToInt64(value));
        return;
    }
    const auto index = static_cast<std::size_t>(sample - pendingBase_);
    if (index >= pending_.size())
        pending_.resize(index + 1, 0);
    pending_[index] = truncToInt(value);
}

inline void ReferenceWriter::settleBelow(std::int64_t end)
{
    end = std::min(end, capacity_);
    if (end <= pendingBase_)
        return;
    const auto count = static_cast<std::size_t>(end - pendingBase_);
    const std::size_t held = std::min(count, pending_.size());
    for (std::size_t i = 0; i < held; ++i)
        samples_[pendingBase_ + std::int64_t(i)] = saturateToInt16(pending_[i]);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(held));
    pendingBase_ = end;
}

inline void ReferenceWriter::finish()
{
    if (samples_ == nullptr)
        return;
    settleBelow(capacity_);
    finished_.store(true, std::memory_order_release);
}

inline int ReferenceWriter::produced() const
{
    const int length = length_.load(std::memory_order_acquire);
    if (finished_.load(std::memory_order_acquire))
        return length;
    const std::int64_t written = std::int64_t(hop_) * framesWritten_.load(std::memory_order_acquire);
    return static_cast<int>(std::min<std::int64_t>(written, length));
}

}  // namespace enginetest
