#pragma once
// A synthetic voiced recording with known harmonics: a sum of harmonics of
// f0(t) under a two-formant envelope (or falling as 1 / k), optional vibrato
// and white noise, rounded to 16 bits.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "dsp/FIFOSampleBuffer.h"

namespace analysistest {

constexpr double kRate = 44100.0;

// The level a harmonic at f Hz reads through a window summing to 1 (amplitude
// A reads 20 log10(A / 2)): -30 dB with formant bumps of +12 dB at 700 Hz and
// +10 dB at 1200 Hz, falling 12 dB per octave above 1200 Hz.
inline double envelopeDb(double f)
{
    const double bumps = 12.0 * std::exp(-std::pow((f - 700.0) / 150.0, 2.0)) +
                         10.0 * std::exp(-std::pow((f - 1200.0) / 200.0, 2.0));
    const double fall = f > 1200.0 ? 12.0 * std::log2(f / 1200.0) : 0.0;
    return -30.0 + bumps - fall;
}

struct Voice {
    double f0 = 220.0;
    double vibratoDepth = 0.0;  // relative, e.g. 0.02
    double vibratoHz = 5.0;
    double noiseDbfs = -200.0;  // RMS of the white noise
    double seconds = 1.0;
    double silentTail = 0.0;    // seconds of noise alone after the voice
    unsigned phaseSeed = 0;     // harmonic phases uniform at random; 0: 0.7 k^2
    double rate = kRate;
    bool sawtooth = false;      // harmonic k at amplitude 0.1 / k, no formants

    double f0At(double t) const
    {
        return f0 * (1.0 + vibratoDepth * std::sin(2.0 * std::numbers::pi * vibratoHz * t));
    }
};

// Harmonics stay below 21000 Hz, and 100 Hz under half the rate, at the top
// of the vibrato.
inline int harmonicCount(const Voice& v)
{
    return int(std::min(21000.0, v.rate / 2.0 - 100.0) / (v.f0 * (1.0 + v.vibratoDepth)));
}

inline std::vector<double> voicedSamples(const Voice& v)
{
    const std::size_t voiced = std::size_t(v.seconds * v.rate);
    std::vector<double> x(voiced + std::size_t(v.silentTail * v.rate), 0.0);
    const int count = harmonicCount(v);
    std::vector<double> offsets(std::size_t(count) + 1);
    std::mt19937 rng(v.phaseSeed);
    std::uniform_real_distribution<double> turn(0.0, 2.0 * std::numbers::pi);
    for (int k = 1; k <= count; ++k)
        offsets[std::size_t(k)] = v.phaseSeed != 0 ? turn(rng) : 0.7 * k * k;
    // Phase of the fundamental, integrated from f0(t); harmonic k runs at k times it.
    double phase = 0.0;
    std::vector<double> amps(std::size_t(count) + 1);
    double ampsF0 = -1.0;  // the f0 the amplitudes were worked out for
    for (std::size_t n = 0; n < voiced; ++n) {
        const double f = v.f0At(double(n) / v.rate);
        if (f != ampsF0) {
            for (int k = 1; k <= count; ++k)
                amps[std::size_t(k)] = v.sawtooth ? 0.1 / k : 2.0 * std::pow(10.0, envelopeDb(k * f) / 20.0);
            ampsF0 = f;
        }
        double s = 0.0;
        for (int k = 1; k <= count; ++k)
            s += amps[std::size_t(k)] * std::cos(k * phase + offsets[std::size_t(k)]);
        x[n] = s;
        phase += 2.0 * std::numbers::pi * f / v.rate;
    }
    return x;
}

inline std::vector<double> noise(std::size_t count, double dbfs, unsigned seed)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> gauss(0.0, std::pow(10.0, dbfs / 20.0));
    std::vector<double> out(count);
    for (double& s : out)
        s = gauss(rng);
    return out;
}

// Full scale 1.0 becomes 32767.
inline Halvoren::FIFOSampleBufferTemplate<short> toPcm(const std::vector<double>& x)
{
    Halvoren::FIFOSampleBufferTemplate<short> pcm(4096);
    pcm.putSamples(std::uint32_t(x.size()));
    short* out = pcm.ptrBegin();
    for (std::size_t n = 0; n < x.size(); ++n)
        out[n] = short(std::lround(std::clamp(x[n] * 32767.0, -32768.0, 32767.0)));
    return pcm;
}

inline std::vector<double> plus(std::vector<double> a, const std::vector<double>& b)
{
    for (std::size_t n = 0; n < a.size() && n < b.size(); ++n)
        a[n] += b[n];
    return a;
}

}  // namespace analysistest
