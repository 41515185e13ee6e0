#pragma once
// One frame of sinusoidal peaks: parallel frequencies (Hz), magnitudes (dB)
// and phases (radians).
#include <cstddef>
#include <vector>

namespace Halvoren {

class FreqMagAndPhaseBox;

class PeakList {
public:
    std::vector<float> freqs;
    std::vector<float> mags;
    std::vector<float> phases;

    // Number of complete peaks (the shortest of the three vectors).
    std::size_t size() const
    {
        const std::size_t n = freqs.size() < mags.size() ? freqs.size() : mags.size();
        return n < phases.size() ? n : phases.size();
    }
    bool empty() const { return size() == 0; }
    void clear()
    {
        freqs.clear();
        mags.clear();
        phases.clear();
    }
    void append(float freq, float mag, float phase)
    {
        freqs.push_back(freq);
        mags.push_back(mag);
        phases.push_back(phase);
    }
    // Cuts the three vectors to n peaks (n at most size()).
    void truncate(std::size_t n);

    void assign(const PeakList& src);
    // Drops peaks at 0 Hz and peaks repeating the frequency of the last kept
    // one; the three vectors are left of equal length.
    void removeDuplicatePeaks();
    void appendPeaks(PeakList& dst) const;
    // Over the shorter length: mean frequency, this level minus the other's;
    // then this list is cut to that length.
    void subtractPeaks(const PeakList& other);
    void addScaledMagsTo(PeakList& dst, float w) const;
    void addGainDb(float dB);
    // w of this list and 1 - w of the other over the shorter length; out may
    // be this list or the other.
    void blendWith(const PeakList& other, float w, PeakList& out) const;
    // The largest level, never below -120 dB.
    float maxMagDb() const;
    // Adds T_to(f) - T_from(f) with T(f) = p0 + p1 * (exp(p2 * f) - 1).
    void replaceTilt(const float from[3], const float to[3]);
    // The same, keeping the mean level.
    void replaceTiltKeepLevel(const float from[3], const float to[3]);

    // Draws every peak into the box's spectrum (n of the box, rate pointed to).
    void addToSpectrum(FreqMagAndPhaseBox& box, const float* sampleRate) const;
    // The same into a zeroed spectrum.
    void addToSpectrumX4(FreqMagAndPhaseBox& box, const float* sampleRate) const;
};

}  // namespace Halvoren
