#pragma once
// Writes synthesized frames into a job's 16-bit output buffer by overlap-add:
// frame k covers the 2*hop samples from k * hop, centred on k * hop + hop.
//
// The buffer is laid out once by appendZeros and never moves afterwards, so
// readers on other threads may hold its first sample without a lock; they read
// only below produced(). Frames past the plan may extend the length into a
// reserve of one frame size; samples that fall outside are dropped.
// Overlapping frames are summed in 32 bits and every sample is saturated to
// 16 bits once, when no later frame can reach it any more; the samples that
// did not fit are counted. A frame value that is not finite (NaN or an
// infinity, from values the synthesis cannot use) adds nothing to its
// sample and is counted.
#include <atomic>
#include <cstdint>
#include <vector>

#include "dsp/FIFOSampleBuffer.h"

namespace HalvorenEngine {

using OutputBuffer = Halvoren::FIFOSampleBufferTemplate<short>;

class SampleOutWriter {
public:
    // Scale from the frames' float samples to 16-bit samples.
    static constexpr float kGain = 32767.0f;

    // Writes into `out` with frame size N and hop h; the writer is usable
    // only with 0 < 2h <= N.
    SampleOutWriter(OutputBuffer& out, int frameSize, int hop);
    SampleOutWriter(const SampleOutWriter&) = delete;
    SampleOutWriter& operator=(const SampleOutWriter&) = delete;

    bool isValid() const { return valid_; }
    int frameSize() const { return frameSize_; }
    int hop() const { return hop_; }

    // Clears the output and lays out (frames + 1) * h silent samples; no
    // frame written, not finished. False, with nothing changed, for an
    // invalid writer, a negative count or a length beyond kMaxSamples; false
    // with an empty output when the allocation fails.
    bool appendZeros(int frames);
    // Empties the output: no sample, no frame written, not finished.
    void clear();

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
    // Frame k of a voice drawn in two parts, each of N samples: with
    // o = N/2 - h, sample k*h + j gains, for j < 2h,
    //   32767 * (w[o+j] * harmonics[o+j] + v[j] * noise[o+j] * curve[o+j]),
    // w being the window of N and v its spread weights (spreadWeights). The
    // harmonic part carries the Blackman-Harris shape that the window divides
    // out; the noise part does not, so where the window would swell it
    // towards the frame's edges (some 188 times at h = N/2) its weight stays
    // at most the window's centre value and fades out at the frame's ends.
    void addWindowedFrame(int k, const float* curve, const float* noise, const float* harmonics);
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
    // Frames drawn into the output since it was laid out (addFrames' placed
    // samples are no drawn frames); a measure of the job's work.
    int framesDrawn() const { return framesDrawn_.load(std::memory_order_acquire); }
    bool isFinished() const { return finished_.load(std::memory_order_acquire); }
    // Samples whose sum did not fit 16 bits and were saturated, since the
    // output was laid out (a frame reaching back onto a saturated sample that
    // still does not fit counts it again).
    std::int64_t samplesSaturated() const { return saturated_.load(std::memory_order_acquire); }
    // Frame values that were not finite, since the output was laid out.
    std::int64_t samplesNotFinite() const { return notFinite_.load(std::memory_order_acquire); }
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
    // The window of frames of N << shift samples (shift 1 or 2).
    const std::vector<float>& longWindow(int shift);
    // Adds valueAt(i) to sample k*h + i for i < 2h and advances the count.
    template <class ValueAt>
    void mixFrame(int k, const ValueAt& valueAt);
    void extendTo(std::int64_t end);
    void mix(std::int64_t sample, float value);
    void place(std::int64_t sample, float value);
    // The ring entry of a sample from pendingBase_ on, the ring grown to
    // reach it when needed.
    std::int32_t& pendingAt(std::int64_t sample);
    void growRing(std::int64_t span);
    void settleBelow(std::int64_t end);
    // Counts n more saturated samples (one writing thread).
    void countSaturated(std::int64_t n);
    // Counts n more frame values that were not finite (one writing thread).
    void countNotFinite(std::int64_t n);
    // A settled sample from a sum, counted when it does not fit.
    short settled(std::int64_t sum);

    const int frameSize_;
    const int hop_;
    const bool valid_;
    // Windows for frames of N, 2N and 4N samples; the longer two are made
    // by the first frame of their length (most writers never see one).
    std::vector<float> windows_[3];
    // The weights of addWindowedFrame's noise part, 2h of them.
    std::vector<float> spreadWeights_;
    // The triangle of 2h points whose halves fade addFrames' ends.
    std::vector<float> fade_;

    OutputBuffer& out_;
    short* samples_ = nullptr;
    std::int64_t capacity_ = 0;
    // Sums of the samples pendingBase_ .. pendingEnd_ - 1, which a later
    // frame may still reach, in a ring of a power-of-two size indexed by the
    // sample's position; entries outside that range are 0.
    std::vector<std::int32_t> ring_;
    std::int64_t pendingBase_ = 0;
    std::int64_t pendingEnd_ = 0;

    std::atomic<const short*> data_{nullptr};
    std::atomic<int> length_{0};
    std::atomic<int> framesWritten_{0};
    std::atomic<int> framesDrawn_{0};
    std::atomic<bool> finished_{false};
    std::atomic<std::int64_t> saturated_{0};
    std::atomic<std::int64_t> notFinite_{0};
};

}  // namespace HalvorenEngine
