#pragma once
// Measures a rendered steady sinusoid in 16-bit output: its frequency from
// the slope of its phase, and least-squares fits of a sinusoid at that
// frequency over two periods, every 4 samples, giving the level, how much
// the level varies, and how far below the sinusoid the remainder lies.
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace enginetest {

struct SinusoidMeasure {
    double frequency = 0.0;    // Hz
    double meanLevelDb = 0.0;  // dB full scale (amplitude / 32767)
    double levelSpreadDb = 0.0;  // largest minus smallest fitted level
    double remainderDb = 0.0;  // remainder energy over sinusoid energy
};

// The magnitude at f Hz of x[from .. to) at `rate` through a Hann window.
inline double hannLevel(const std::vector<short>& x, int from, int to, double f, double rate)
{
    const double w = 2.0 * std::numbers::pi * f / rate;
    const double len = to - from;
    std::complex<double> z = 0.0;
    const std::complex<double> step = std::polar(1.0, -w);
    std::complex<double> rot = std::polar(1.0, -w * from);
    for (int n = from; n < to; ++n) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (n - from) / len);
        z += hann * static_cast<double>(x[n]) * rot;
        rot *= step;
    }
    return std::abs(z);
}

// x[from .. to) at `rate`, holding one sinusoid near `nominal` Hz.
inline SinusoidMeasure measureSinusoid(const std::vector<short>& x, int from, int to, double nominal, double rate)
{
    const double pi = std::numbers::pi;
    SinusoidMeasure m;
    // Phase against the nominal frequency over blocks of about 20 periods;
    // its slope is the frequency offset.
    const int block = std::max(4, static_cast<int>(std::lround(20.0 * rate / nominal)));
    const double w0 = 2.0 * pi * nominal / rate;
    std::vector<double> centres, phases;
    for (int s = from; s + block <= to; s += block) {
        std::complex<double> z = 0.0;
        for (int n = s; n < s + block; ++n)
            z += static_cast<double>(x[n]) * std::polar(1.0, -w0 * n);
        double phase = std::arg(z);
        if (!phases.empty())
            phase = phases.back() + std::remainder(phase - phases.back(), 2.0 * pi);
        centres.push_back(s + 0.5 * block);
        phases.push_back(phase);
    }
    double mc = 0.0, mp = 0.0;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        mc += centres[i];
        mp += phases[i];
    }
    mc /= centres.size();
    mp /= phases.size();
    double sxy = 0.0, sxx = 0.0;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        sxy += (centres[i] - mc) * (phases[i] - mp);
        sxx += (centres[i] - mc) * (centres[i] - mc);
    }
    const double w = w0 + (sxx > 0.0 ? sxy / sxx : 0.0);
    m.frequency = w * rate / (2.0 * pi);

    // Fits of a cos + b sin over two periods.
    const int window = std::max(4, static_cast<int>(std::lround(2.0 * 2.0 * pi / w)));
    double minDb = 1e9, maxDb = -1e9, sumDb = 0.0, fitEnergy = 0.0, restEnergy = 0.0;
    int fits = 0;
    for (int s = from; s + window <= to; s += 4) {
        double cc = 0.0, ss = 0.0, cs = 0.0, xc = 0.0, xs = 0.0;
        for (int n = s; n < s + window; ++n) {
            const double c = std::cos(w * n), si = std::sin(w * n);
            cc += c * c;
            ss += si * si;
            cs += c * si;
            xc += x[n] * c;
            xs += x[n] * si;
        }
        const double det = cc * ss - cs * cs;
        const double a = (xc * ss - xs * cs) / det;
        const double b = (xs * cc - xc * cs) / det;
        for (int n = s; n < s + window; ++n) {
            const double fit = a * std::cos(w * n) + b * std::sin(w * n);
            fitEnergy += fit * fit;
            restEnergy += (x[n] - fit) * (x[n] - fit);
        }
        const double db = 20.0 * std::log10(std::hypot(a, b) / 32767.0);
        minDb = std::min(minDb, db);
        maxDb = std::max(maxDb, db);
        sumDb += db;
        ++fits;
    }
    m.meanLevelDb = sumDb / fits;
    m.levelSpreadDb = maxDb - minDb;
    m.remainderDb = 10.0 * std::log10(restEnergy / fitEnergy);
    return m;
}

}  // namespace enginetest
