#pragma once
// Spectral envelope through a frame's harmonic peaks (closed at 0 Hz and at
// half the sample rate), read linearly or by a clamped cubic spline, and
// sampled at a new set of harmonic frequencies: this changes the pitch of a
// frame while keeping its timbre, optionally with a formant shift that fades
// out towards 18000 Hz.
#include <limits>
#include <vector>

#include "dsp/LinearLookup.h"
#include "dsp/PeakList.h"
#include "dsp/Spline.h"

namespace Halvoren {

class HarmonicPeakAnalyser {
public:
    explicit HarmonicPeakAnalyser(float sampleRate);
    virtual ~HarmonicPeakAnalyser() = default;
    HarmonicPeakAnalyser(const HarmonicPeakAnalyser&) = delete;
    HarmonicPeakAnalyser& operator=(const HarmonicPeakAnalyser&) = delete;

    // Cleans the caller's list (removeDuplicatePeaks), keeps a copy and
    // rebuilds the envelope over it.
    void setPeaks(PeakList& peaks);
    // setPeaks, then the spline through the envelope points.
    void setPeaksSpline(PeakList& peaks);

    // Every sampling clears out first and gives nothing for an empty
    // envelope, a ratio that is not positive and finite, or a fundamental
    // below kMinF0 Hz (or not finite): such a frame has no harmonics, as at
    // 0 Hz. None makes more harmonics than a fundamental of kMinF0 Hz fits
    // below half the sample rate (or than the input has peaks, for the
    // spline samplings): a tiny ratio stops there.
    static constexpr float kMinF0 = 10.0f;
    static bool isSungF0(float f0) { return f0 >= kMinF0 && f0 < std::numeric_limits<float>::infinity(); }

    // (k*f0, envelope at k*f0, 0) for every k*f0 below half the sample rate.
    void sampleHarmonics(float f0, PeakList& out);
    // The same with the level read at f * (w / ratio + 1 - w), w fading from
    // 1 at 0 Hz to 0 at 18000 Hz.
    void sampleHarmonicsWarped(float f0, float ratio, PeakList& out);
    // The input peaks moved by the ratio (then harmonics of the moved first
    // peak), levels from the spline, input phases kept.
    void sampleHarmonicsSpline(float ratio, PeakList& out);
    // Harmonics of f0 up to the first one above the last input peak, levels
    // from the spline, phases from the input peak of the nearest harmonic number.
    void sampleHarmonicsSplineWarped(float f0, PeakList& out);

    const PeakList& envelope() const { return envelope_; }
    const PeakList& input() const { return input_; }
    const std::vector<float>& splineY2() const { return splineY2_; }
    float sampleRate() const { return sampleRate_; }

private:
    // A reader of the spline through the envelope, made first when the
    // envelope was set without it.
    SplineReader splineReader();
    // The most harmonics a sampling makes: sampleRate / 2 / kMinF0.
    int harmonicLimit() const;

    float sampleRate_;
    std::vector<float> splineY2_;
    LinearLookup lookup_;
    PeakList envelope_;
    PeakList input_;
};

}  // namespace Halvoren
