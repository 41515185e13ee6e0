#include "engine/v3/FrameSynth.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "dsp/TruncToInt.h"

namespace HalvorenEngineV3 {

namespace {

constexpr int kEnvelopeBins = FrameSynth::kFrameSize / 2 + 1;
constexpr float kSilentDb = -100.0f;
constexpr float kMissingBinDb = -120.0f;

// Gain from Amplitude v: four times at +1, unity at 0, silence at -1.
float amplitudeGain(float v)
{
    if (v >= 0.0f)
        return std::exp2(2.0f * v);
    return std::max(0.0f, 1.0f + v);
}

// Tilt in dB across the ranks from Brightness t: -100 at -1, tiltAtZero at 0, +10 at +1.
float brightnessTilt(float t, float tiltAtZero)
{
    if (t >= 0.0f)
        return (1.0f - t) * tiltAtZero + 10.0f * t;
    return (1.0f + t) * tiltAtZero + 100.0f * t;
}

}  // namespace

FrameSynth::FrameSynth(float sampleRate, int hop, float param3, float param4, float param5, float maxHarmonicFreq,
                       int phaseSetting, int param8, float powerAmount, float powerCentre, float powerWidth,
                       FrameLevels levels, PeakOrder order)
    : sampleRate_(sampleRate), period_(static_cast<float>(hop) / sampleRate),
      param3_(param3), param4_(param4), param5_(param5), param8_(param8),
      powerAmount_(powerAmount), powerCentre_(powerCentre), powerWidth_(powerWidth),
      levels_(levels), peakOrder_(order), phase_(sampleRate, maxHarmonicFreq, phaseSetting), drawRate_(sampleRate), box_(kFrameSize),
      spreadCap_(kFrameSize, hop)
{
}

void FrameSynth::renderFrame(HalvorenEngine::SynthFrameV4& frame, HalvorenEngine::SampleOutWriter& out)
{
    if (lastFrameIndex_ < 0 || frame.index == std::numeric_limits<std::int32_t>::min() ||
        lastFrameIndex_ != frame.index - 1) {
        // A new voice, a gap or a step back: fresh phases and jitter.
        phase_.reset(HalvorenEngine::truncToInt(0.25f / period_), 0.007f, 0.003f);
    }
    lastFrameIndex_ = frame.index;

    const float g = amplitudeGain(frame.levelControl);
    float harmonicDb = kSilentDb;
    float noiseDb = kSilentDb;
    if (g > 0.0f) {
        harmonicDb = 20.0f * std::log10(g * levels_.harmLevel) + frame.levelDb;
        noiseDb = 20.0f * std::log10(g * levels_.noiseLevel) + frame.levelDb;
    }
    Halvoren::PeakList* drawn = nullptr;
    if (peakOrder_ == PeakOrder::PeaksFirstAlways)
        drawn = &shapePeaks(frame, harmonicDb);
    renderNoise(frame, noiseDb);
    // Drawn with random phases, the noise is spread over the frame unlike
    // the harmonics.
    spreadCap_.takeSpread(box_);
    if (peakOrder_ == PeakOrder::NoiseFirst && frame.unvoiced == 0)
        drawn = &shapePeaks(frame, harmonicDb);
    if (drawn != nullptr) {
        drawn->addToSpectrum(box_, &drawRate_);
        drawn_ = drawn;
    }
    // Without peaks the spectrum is the noise alone, transformed already.
    const bool noiseAlone = drawn == nullptr || drawn->empty();
    if (!noiseAlone || !spreadCap_.inverseTaken(box_.re.data()))
        box_.fft.inverse(box_.re.data(), box_.im.data(), box_.re.data());
    box_.swapHalves();
    spreadCap_.capSpread(box_.re.data());
    if (peakOrder_ == PeakOrder::PeaksFirstAlways)
        out.addFrameSized(frame.index, kFrameSize, box_.re.data(), 1.0f);
    else
        out.addFrame(frame.index, box_.re.data(), 1.0f);
}

void FrameSynth::renderNoise(HalvorenEngine::SynthFrameV4& frame, float noiseDb)
{
    int held = 0;
    if (frame.mags != nullptr) {
        Halvoren::frameAddScalar(*frame.mags, 20.0f * frame.noiseGain + noiseDb);
        held = static_cast<int>(std::min<std::size_t>(frame.mags->numSamples(), kEnvelopeBins));
        std::copy_n(frame.mags->ptrBegin(), held, box_.mags.begin());
    }
    // A short envelope is silent where it has no value.
    std::fill(box_.mags.begin() + held, box_.mags.begin() + kEnvelopeBins, kMissingBinDb);
    box_.addSinusoidsRandomPhaseWarped(frame.warpRatio, sampleRate_);
}

Halvoren::PeakList& FrameSynth::shapePeaks(HalvorenEngine::SynthFrameV4& frame, float harmonicDb)
{
    Halvoren::PeakList& peaks = frame.peaks != nullptr ? *frame.peaks : noPeaks_;
    peaks.truncate(std::min<std::size_t>(peaks.size(), kMaxPeaks));
    if (!peaks.empty())
        applyRankTilt(peaks, harmonicDb, brightnessTilt(frame.tension, levels_.tiltAtZero));
    Halvoren::PeakList& drawn = phase_.continuePhasesWarped(peaks, period_, frame.warpRatio, frame.jitter);
    addPowerBump(drawn, frame.boostWeight);
    return drawn;
}

void FrameSynth::applyRankTilt(Halvoren::PeakList& peaks, float levelDb, float tiltDb)
{
    const int n = static_cast<int>(peaks.size());
    // One integer per peak that sorts loudest first and equal levels in list
    // order: the level's bits made to order like the level, inverted, above
    // the peak's position. A level that is not a number ranks last.
    for (int i = 0; i < n; ++i) {
        const float level = std::isnan(peaks.mags[i]) ? -std::numeric_limits<float>::infinity() : peaks.mags[i];
        std::uint32_t bits = std::bit_cast<std::uint32_t>(level == 0.0f ? 0.0f : level);
        bits = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
        order_[i] = (std::uint64_t(~bits) << 32) | std::uint32_t(i);
    }
    std::sort(order_.begin(), order_.begin() + n);
    for (int r = 0; r < n; ++r) {
        const double steps = tiltDb <= 0.0f ? r : n - r;
        const auto ramp = static_cast<float>(static_cast<double>(tiltDb) * steps / n);
        peaks.mags[static_cast<std::uint32_t>(order_[r])] += levelDb + ramp;
    }
}

void FrameSynth::addPowerBump(Halvoren::PeakList& peaks, float power) const
{
    const float s = 0.5f * powerWidth_;
    const float spread = 2.0f * s * s;
    const float height = powerAmount_ * power;
    // Without a width the bump has no shape; without a height nothing to add.
    if (!(spread > 0.0f) || !std::isfinite(spread) || height == 0.0f)
        return;
    // Beyond this many spreads the bump is exactly 0 in float.
    constexpr float kVanishing = 104.0f;
    const bool finiteHeight = std::isfinite(height);
    for (std::size_t k = 0; k < peaks.size(); ++k) {
        const float d = peaks.freqs[k] - powerCentre_;
        const float x = (d * d) / spread;
        if (x > kVanishing && finiteHeight)
            continue;
        peaks.mags[k] += height * std::exp(-x);
    }
}

}  // namespace HalvorenEngineV3
