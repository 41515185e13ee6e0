#include "NoteSound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "dsp/RealFft.h"

namespace demobank {

namespace {

constexpr double kSilentDb = -200.0;

int fftSizeFor(std::size_t n)
{
    // Twice the stretch: the autocorrelation taken through the spectrum
    // does not wrap around.
    int size = 2;
    while (static_cast<std::size_t>(size) < 2 * n)
        size *= 2;
    return size;
}

// The power spectrum (bins 0 .. size / 2) of x times the window, zero-padded.
std::vector<double> powerSpectrum(Halvoren::RealFft& fft, const std::vector<float>& x, const std::vector<float>& window)
{
    const int size = fft.size();
    std::vector<float> in(static_cast<std::size_t>(size), 0.0f), re(in.size()), im(in.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        in[i] = window.empty() ? x[i] : x[i] * window[i];
    fft.forward(in.data(), re.data(), im.data());
    std::vector<double> power(static_cast<std::size_t>(size / 2 + 1));
    for (std::size_t b = 0; b < power.size(); ++b)
        power[b] = double(re[b]) * re[b] + double(im[b]) * im[b];
    return power;
}

// The period in samples: the lag between rate / (hz sqrt 2) and
// rate sqrt 2 / hz of the strongest autocorrelation, each lag's sum divided
// by the number of products in it; 0 when there is none.
double periodOf(Halvoren::RealFft& fft, const std::vector<double>& power, std::size_t n, double hz, int rate)
{
    const int size = fft.size();
    std::vector<float> re(static_cast<std::size_t>(size), 0.0f), im(re.size(), 0.0f), r(re.size());
    for (std::size_t b = 0; b < power.size(); ++b)
        re[b] = static_cast<float>(power[b]);
    fft.inverse(re.data(), im.data(), r.data());
    const auto lo = static_cast<std::size_t>(std::max(2.0, std::floor(rate / (hz * std::numbers::sqrt2))));
    const auto hi = std::min(n / 2, static_cast<std::size_t>(std::ceil(rate * std::numbers::sqrt2 / hz)));
    if (lo + 1 >= hi)
        return 0.0;
    const auto at = [&](std::size_t lag) { return double(r[lag]) / double(n - lag); };
    std::size_t best = lo;
    for (std::size_t lag = lo; lag <= hi; ++lag)
        if (at(lag) > at(best))
            best = lag;
    if (at(best) <= 0.0)
        return 0.0;
    const double a = at(best - 1), b = at(best), c = at(best + 1);
    const double bend = a - 2.0 * b + c;
    const double shift = bend < 0.0 ? std::clamp(0.5 * (a - c) / bend, -0.5, 0.5) : 0.0;
    return double(best) + shift;
}

}  // namespace

double levelDb(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last)
{
    last = std::min(last, samples.size());
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i)
        sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
    return sum > 0.0 ? 10.0 * std::log10(sum / double(last - first)) : kSilentDb;
}

NoteSound measureNoteSound(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last, double hz,
                           int rate)
{
    NoteSound sound;
    last = std::min(last, samples.size());
    if (first >= last || !(hz > 0.0) || rate <= 0)
        return sound;
    const std::size_t n = last - first;
    sound.levelDb = levelDb(samples, first, last);
    if (sound.levelDb <= kSilentDb)
        return sound;
    std::vector<float> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = static_cast<float>(samples[first + i]) / 32768.0f;

    Halvoren::RealFft fft(fftSizeFor(n));
    const double period = periodOf(fft, powerSpectrum(fft, x, {}), n, hz, rate);
    const double f0 = period > 0.0 ? rate / period : hz;
    sound.centsOff = period > 0.0 ? 1200.0 * std::log2(f0 / hz) : 1200.0;

    std::vector<float> hann(n);
    for (std::size_t i = 0; i < n; ++i)
        hann[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / double(n)));
    const std::vector<double> power = powerSpectrum(fft, x, hann);
    const double binHz = double(rate) / fft.size();
    double firstEnergy = 0.0, strongest = 0.0;
    for (int k = 1; (k + 0.5) * f0 < 0.5 * rate; ++k) {
        const auto from = static_cast<std::size_t>(std::ceil((k - 0.5) * f0 / binHz));
        const auto to = std::min(power.size(), static_cast<std::size_t>(std::ceil((k + 0.5) * f0 / binHz)));
        double energy = 0.0;
        for (std::size_t b = from; b < to; ++b)
            energy += power[b];
        if (k == 1)
            firstEnergy = energy;
        strongest = std::max(strongest, energy);
    }
    if (firstEnergy > 0.0)
        sound.fundamentalDb = 10.0 * std::log10(firstEnergy / strongest);
    return sound;
}

NoteVerdict judgeNote(const NoteSound& sound, double medianLevelDb)
{
    NoteVerdict v;
    v.audible = std::fabs(sound.levelDb - medianLevelDb) <= kLevelSpanDb;
    v.inTune = std::fabs(sound.centsOff) <= kCentsSpan;
    v.fundamental = sound.fundamentalDb >= -kFundamentalSpanDb;
    return v;
}

double medianLevelDb(std::vector<double> levels)
{
    if (levels.empty())
        return kSilentDb;
    const auto mid = levels.begin() + std::ptrdiff_t(levels.size() / 2);
    std::nth_element(levels.begin(), mid, levels.end());
    return *mid;
}

}  // namespace demobank
