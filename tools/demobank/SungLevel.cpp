#include "SungLevel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "RecordTiming.h"
#include "dsp/GammatoneCentres.h"
#include "engine/v3/FrameSynth.h"

namespace demobank {

namespace {

constexpr double kSilentDb = -200.0;

// The envelope through harmonic levels h (f0Step apart) at f, in dB.
double envelopeAt(const std::vector<float>& h, float f0Step, double f)
{
    const double position = f / f0Step - 1.0;  // 0 at the first harmonic
    if (position <= 0.0)
        return h.front();
    const auto below = static_cast<std::size_t>(position);
    if (below + 1 >= h.size())
        return h.back();
    const double t = position - double(below);
    return (1.0 - t) * h[below] + t * h[below + 1];
}

// The power of harmonic levels h (f0Step apart) sung at hz (full scale as
// the levels read).
double sungPower(const std::vector<float>& h, float f0Step, double hz)
{
    if (h.empty() || !(f0Step > 0.0f))
        return 0.0;
    static const double tiltDb = HalvorenEngineV3::FrameLevels{}.tiltAtZero;
    std::vector<double> levels;
    for (double f = hz; f < 0.5 * kRecordRate; f += hz)
        levels.push_back(envelopeAt(h, f0Step, f));
    std::sort(levels.begin(), levels.end(), std::greater<>());
    double power = 0.0;
    const auto n = double(levels.size());
    for (std::size_t r = 0; r < levels.size(); ++r)
        power += std::pow(10.0, (levels[r] + tiltDb * double(r) / n) / 10.0);
    return power;
}

double framePower(const bankwriter::PlainFrame& frame, double hz)
{
    return sungPower(frame.harmonicsDb, frame.f0Step, hz);
}

double toDb(double power) { return power > 0.0 ? 10.0 * std::log10(power) : kSilentDb; }

// The change from bands `from` to bands `to` at f: straight lines between
// the band centres, the end values beyond them.
double bandChangeAt(const std::vector<float>& from, const std::vector<float>& to, double f)
{
    static const std::array<float, Halvoren::kGammatoneChannels> centres = Halvoren::gammatoneCentres();
    const std::size_t n = std::min({from.size(), to.size(), centres.size()});
    const auto change = [&](std::size_t k) { return double(to[k]) - double(from[k]); };
    if (f <= centres[0])
        return change(0);
    for (std::size_t k = 1; k < n; ++k)
        if (f <= centres[k]) {
            const double t = (f - centres[k - 1]) / (centres[k] - centres[k - 1]);
            return (1.0 - t) * change(k - 1) + t * change(k);
        }
    return change(n - 1);
}

void raiseBy(std::vector<float>& values, float db)
{
    for (float& v : values)
        v += db;
}

// Raises the harmonics from fromHz up (and the one below it, through which
// the envelope reaches it): a frame held up for a high note keeps its low
// harmonics, which a low note sings at their own level, as recorded.
void raiseHarmonicsFrom(bankwriter::PlainFrame& frame, double fromHz, float db)
{
    for (std::size_t k = 0; k < frame.harmonicsDb.size(); ++k)
        if (double(k + 2) * frame.f0Step > fromHz)
            frame.harmonicsDb[k] += db;
}

// The same for the bands whose stretch to the next centre reaches fromHz.
void raiseBandsFrom(std::vector<float>& bands, double fromHz, float db)
{
    static const std::array<float, Halvoren::kGammatoneChannels> centres = Halvoren::gammatoneCentres();
    for (std::size_t k = 0; k < bands.size(); ++k)
        if (k + 1 >= centres.size() || centres[k + 1] > fromHz)
            bands[k] += db;
}

void raiseFrame(bankwriter::PlainFrame& frame, float db)
{
    raiseBy(frame.harmonicsDb, db);
    raiseBy(frame.bands, db);
    raiseBy(frame.magsA, db);
    raiseBy(frame.magsB, db);
}

}  // namespace

double sungLevelDb(const std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last, double hz)
{
    last = std::min(last, frames.size());
    if (first >= last || !(hz > 0.0))
        return kSilentDb;
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i)
        sum += framePower(frames[i], hz);
    return sum > 0.0 ? 10.0 * std::log10(sum / double(last - first)) : kSilentDb;
}

double bentLevelDb(const bankwriter::PlainFrame& vowel, const bankwriter::PlainFrame& frame, double hz)
{
    if (vowel.bands.empty() || frame.bands.empty() || vowel.harmonicsDb.empty() || !(hz > 0.0))
        return kSilentDb;
    std::vector<float> bent = vowel.harmonicsDb;
    for (std::size_t k = 0; k < bent.size(); ++k)
        bent[k] += static_cast<float>(bandChangeAt(vowel.bands, frame.bands, double(k + 1) * vowel.f0Step));
    return toDb(sungPower(bent, vowel.f0Step, hz));
}

void raiseFrames(std::vector<bankwriter::PlainFrame>& frames, float fromDb, float toDb)
{
    const std::size_t steps = frames.size() > 1 ? frames.size() - 1 : 1;
    for (std::size_t i = 0; i < frames.size(); ++i)
        raiseFrame(frames[i], fromDb + (toDb - fromDb) * float(i) / float(steps));
}

void holdUp(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last, double hz,
            double referenceDb, double belowDb)
{
    const double floorDb = referenceDb - belowDb;
    for (std::size_t i = first; i < std::min(last, frames.size()); ++i) {
        const double power = framePower(frames[i], hz);
        if (power <= 0.0)
            continue;
        const double levelDb = toDb(power);
        if (levelDb < floorDb)
            raiseHarmonicsFrom(frames[i], hz, static_cast<float>(floorDb - levelDb));
    }
}

void holdBandsUp(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last,
                 const bankwriter::PlainFrame& vowel, double hz, double belowDb)
{
    const double floorDb = toDb(framePower(vowel, hz)) - belowDb;
    for (std::size_t i = first; i < std::min(last, frames.size()); ++i) {
        const double levelDb = bentLevelDb(vowel, frames[i], hz);
        if (levelDb > kSilentDb && levelDb < floorDb)
            raiseBandsFrom(frames[i].bands, hz - vowel.f0Step, static_cast<float>(floorDb - levelDb));
    }
}

void floorBands(std::vector<bankwriter::PlainFrame>& frames, std::size_t first, std::size_t last,
                const std::vector<float>& reference, float belowDb)
{
    for (std::size_t i = first; i < std::min(last, frames.size()); ++i) {
        std::vector<float>& bands = frames[i].bands;
        for (std::size_t k = 0; k < std::min(bands.size(), reference.size()); ++k)
            bands[k] = std::max(bands[k], reference[k] - belowDb);
    }
}

}  // namespace demobank
