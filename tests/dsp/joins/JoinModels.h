#pragma once
// Models for the join tests: peak frames that tell their source and index by
// their first frequency, and residuals of noise or of hop-periodic sines.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "dsp/HPR_model.h"

namespace jointest {

constexpr int kN = 512;
constexpr int kHop = 128;
constexpr float kRate = 44100.0f;

// `frames` frames of three peaks: first frequency base + frame index, then
// 2000 and 3000 Hz, at the given levels.
inline void fillPeaks(Halvoren::HPR_model& m, int frames, float base, const float levels[3])
{
    m.peaks.clear();
    for (int f = 0; f < frames; ++f) {
        Halvoren::PeakList& p = m.peaks.appendFrame();
        p.append(base + static_cast<float>(f), levels[0], 0.0f);
        p.append(2000.0f, levels[1], 0.0f);
        p.append(3000.0f, levels[2], 0.0f);
    }
}

// Noise of roughly the given RMS (a sum of four uniform draws from a fixed
// linear congruential sequence).
inline std::vector<short> noise(int count, double rms, std::uint32_t seed)
{
    std::vector<short> out(static_cast<std::size_t>(count));
    // Four uniforms on [-1, 1] sum to a variance of 4/3.
    const double scale = rms / std::sqrt(4.0 / 3.0);
    for (short& s : out) {
        double sum = 0.0;
        for (int k = 0; k < 4; ++k) {
            seed = seed * 1664525u + 1013904223u;
            sum += static_cast<double>(seed >> 8) / double(1 << 23) - 1.0;
        }
        s = static_cast<short>(std::lround(sum * scale));
    }
    return out;
}

inline void setResidual(Halvoren::HPR_model& m, const std::vector<short>& samples)
{
    m.residual.clear();
    m.residual.putSamples(samples.data(), static_cast<std::uint32_t>(samples.size()));
}

// A model at hop kHop: `frames` frames of fillPeaks and a noise residual
// reaching one hop past the last frame's centre.
inline void fillModel(Halvoren::HPR_model& m, int frames, float base, const float levels[3], double rms,
                      std::uint32_t seed)
{
    m.hop = kHop;
    fillPeaks(m, frames, base, levels);
    setResidual(m, noise((frames + 1) * kHop, rms, seed));
}

// The first frequency of every frame (-1 for an empty frame).
inline std::vector<int> frameIds(const Halvoren::HPR_model& m)
{
    std::vector<int> ids;
    for (std::size_t i = 0; i < m.peaks.size(); ++i)
        ids.push_back(m.peaks.frame(i).freqs.empty() ? -1 : static_cast<int>(m.peaks.frame(i).freqs[0]));
    return ids;
}

// Appends first..last to ids.
inline std::vector<int>& appendRange(std::vector<int>& ids, int first, int last)
{
    for (int i = first; i <= last; ++i)
        ids.push_back(i);
    return ids;
}

}  // namespace jointest
