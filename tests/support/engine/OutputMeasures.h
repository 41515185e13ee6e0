#pragma once
// Measures of a job's 16-bit output: the fundamental of a stretch by
// autocorrelation, the largest step between neighbouring samples, whether a
// stretch is silent, its level, how even its level is across the positions
// of a hop, and how a sound next to silence starts and ends.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace enginetest {

// f0 over x[from .. to) between lo and hi Hz, the lag peak refined by a parabola.
inline double autocorrelationF0(const std::vector<short>& x, int from, int to, double lo, double hi, double rate)
{
    const int minLag = static_cast<int>(rate / hi);
    const int maxLag = static_cast<int>(rate / lo) + 1;
    std::vector<double> r(maxLag + 2, 0.0);
    for (int lag = minLag - 1; lag <= maxLag + 1; ++lag)
        for (int n = from; n + lag < to; ++n)
            r[lag] += static_cast<double>(x[n]) * x[n + lag];
    int best = minLag;
    for (int lag = minLag; lag <= maxLag; ++lag)
        if (r[lag] > r[best])
            best = lag;
    const double a = r[best - 1], b = r[best], c = r[best + 1];
    const double shift = 0.5 * (a - c) / (a - 2.0 * b + c);
    return rate / (best + shift);
}

// The largest |x[n] - x[n - 1]| over from <= n - 1, n < to.
inline int maxStep(const std::vector<short>& x, int from, int to)
{
    int step = 0;
    for (int n = std::max(1, from + 1); n < std::min<int>(to, static_cast<int>(x.size())); ++n)
        step = std::max(step, std::abs(x[n] - x[n - 1]));
    return step;
}

// No sample of x[from .. to) beyond +-limit.
inline bool silent(const std::vector<short>& x, int from, int to, int limit = 2)
{
    for (int n = std::max(0, from); n < std::min<int>(to, static_cast<int>(x.size())); ++n)
        if (std::abs(x[n]) > limit)
            return false;
    return true;
}

// The RMS of x[from .. to).
inline double rms(const std::vector<short>& x, int from, int to)
{
    double sum = 0.0;
    for (int n = from; n < to; ++n)
        sum += static_cast<double>(x[n]) * x[n];
    return std::sqrt(sum / std::max(1, to - from));
}

using Stretch = std::pair<int, int>;  // samples [first, second)

inline Stretch middleHalf(int from, int to) { return {(3 * from + to) / 4, (from + 3 * to) / 4}; }

// The loudest against the quietest of eight equal blocks of the positions
// within a hop, in dB: each block's power over the stretches, each stretch
// divided by its own power so that a quiet one weighs as much per sample as
// a loud one.
inline double hopPositionRangeDb(const std::vector<short>& x, int hop, const std::vector<Stretch>& stretches)
{
    constexpr int kBlocks = 8;
    std::vector<double> power(kBlocks, 0.0);
    for (const Stretch& s : stretches) {
        const double mean = rms(x, s.first, s.second);
        std::vector<double> sum(kBlocks, 0.0);
        for (int n = s.first; n < s.second; ++n) {
            const int b = n % hop * kBlocks / hop;
            sum[b] += static_cast<double>(x[n]) * x[n];
        }
        for (int b = 0; b < kBlocks; ++b)
            power[b] += sum[b] / (mean * mean);
    }
    const auto [lo, hi] = std::minmax_element(power.begin(), power.end());
    return 10.0 * std::log10(*hi / *lo);
}

// What a phrase with unvoiced parts (a head, a breath) and a breathy vowel
// must keep at a large hop against the same phrase at 128: no sample at full
// scale, the level even within 1.5 dB across the positions of a hop, and the
// unvoiced parts within 1.5 dB of their level at 128.
struct NoisyStretches {
    std::vector<Stretch> unvoiced;
    Stretch vowel;
};

// The stretches of a two-cell phrase in samples, from the cells' planned
// frames (`first`, `bodyFrom`, `bodyTo`, `end`): the first third of the
// head's onset and the middle half of the breath, unvoiced; the vowel's body.
template <class CellSpan>
NoisyStretches noisyStretchesOf(const CellSpan& head, const CellSpan& breath, int hop)
{
    const int headEnd = head.first + (head.bodyFrom - head.first) / 3;
    return {{{head.first * hop, headEnd * hop}, middleHalf(breath.first * hop, breath.end * hop)},
            {head.bodyFrom * hop, head.bodyTo * hop}};
}

inline void expectCleanAtALargeHop(const std::vector<short>& at128, const NoisyStretches& s128,
                                   const std::vector<short>& x, const NoisyStretches& s, int hop)
{
    SCOPED_TRACE(hop);
    int saturated = 0;
    for (short v : x)
        saturated += v <= -32767 || v >= 32767;
    EXPECT_EQ(saturated, 0);
    std::vector<Stretch> all = s.unvoiced;
    all.push_back(s.vowel);
    EXPECT_LE(hopPositionRangeDb(x, hop, all), 1.5);
    // The power of all unvoiced stretches together: noise weighted so that
    // two frames a hop apart add up to the weight at a frame's centre keeps
    // its level at 128, where the window's own weights do about that.
    auto powerDb = [](const std::vector<short>& x, const std::vector<Stretch>& stretches) {
        double sum = 0.0;
        int count = 0;
        for (const Stretch& s : stretches) {
            EXPECT_GT(s.second - s.first, 512);
            for (int n = s.first; n < s.second; ++n)
                sum += static_cast<double>(x[n]) * x[n];
            count += s.second - s.first;
        }
        return 10.0 * std::log10(std::max(sum / std::max(count, 1), 1e-6));
    };
    EXPECT_NEAR(powerDb(x, s.unvoiced), powerDb(at128, s128.unvoiced), 1.5);
}

// The runs of sound in x between silences of 2 hops of zero samples or
// more, each from its first frame's start to its last frame's end: the
// multiples of hop around its first and last sample that is not 0.
inline std::vector<Stretch> soundRuns(const std::vector<short>& x, int hop)
{
    std::vector<Stretch> runs;
    const int size = static_cast<int>(x.size());
    for (int n = 0;;) {
        while (n < size && x[n] == 0)
            ++n;
        if (n == size)
            return runs;
        const int first = n;
        int last = n;
        for (int zeros = 0; n < size && zeros < 2 * hop; ++n) {
            zeros = x[n] == 0 ? zeros + 1 : 0;
            last = x[n] == 0 ? last : n;
        }
        runs.push_back({first / hop * hop, (last + hop) / hop * hop});
    }
}

// Every run of sound next to silence starts and ends fading: its first and
// last 16 samples at least 8 dB under its level over the two hops after its
// first hop (before its last hop).
inline void expectSoundFadesNextToSilence(const std::vector<short>& x, int hop)
{
    SCOPED_TRACE(hop);
    constexpr int kEdge = 16;
    auto underDb = [&](int from, int levelFrom) {
        const double edge = std::max(rms(x, from, from + kEdge), 1e-3);
        return 20.0 * std::log10(edge / rms(x, levelFrom, levelFrom + 2 * hop));
    };
    const std::vector<Stretch> runs = soundRuns(x, hop);
    EXPECT_FALSE(runs.empty());
    for (const auto& [start, end] : runs) {
        ASSERT_GE(end - start, 4 * hop) << start;
        EXPECT_LE(underDb(start, start + hop), -8.0) << "the sound starting at " << start;
        EXPECT_LE(underDb(end - kEdge, end - 3 * hop), -8.0) << "the sound ending at " << end;
    }
}

}  // namespace enginetest
