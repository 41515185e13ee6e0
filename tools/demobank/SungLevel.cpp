#include "SungLevel.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "RecordTiming.h"
#include "engine/v3/FrameSynth.h"

namespace demobank {

namespace {

constexpr double kSilentDb = -200.0;
// The frame synthesis' tilt across the ranks of the harmonics at neutral
// Brightness.
constexpr double kRankTiltDb = HalvorenEngineV3::FrameLevels{}.tiltAtZero;

// The envelope through the frame's harmonics at f, in dB.
double envelopeAt(const bankwriter::PlainFrame& frame, double f)
{
    const std::vector<float>& h = frame.harmonicsDb;
    const double position = f / frame.f0Step - 1.0;  // 0 at the first harmonic
    if (position <= 0.0)
        return h.front();
    const auto below = static_cast<std::size_t>(position);
    if (below + 1 >= h.size())
        return h.back();
    const double t = position - double(below);
    return (1.0 - t) * h[below] + t * h[below + 1];
}

// The power of one frame sung at hz (full scale as the levels read).
double framePower(const bankwriter::PlainFrame& frame, double hz)
{
    if (frame.harmonicsDb.empty() || !(frame.f0Step > 0.0f))
        return 0.0;
    std::vector<double> levels;
    for (double f = hz; f < 0.5 * kRecordRate; f += hz)
        levels.push_back(envelopeAt(frame, f));
    std::sort(levels.begin(), levels.end(), std::greater<>());
    double power = 0.0;
    const auto n = double(levels.size());
    for (std::size_t r = 0; r < levels.size(); ++r)
        power += std::pow(10.0, (levels[r] + kRankTiltDb * double(r) / n) / 10.0);
    return power;
}

double toDb(double power) { return power > 0.0 ? 10.0 * std::log10(power) : kSilentDb; }

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
    return toDb(sum / double(last - first));
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
        if (power > 0.0 && toDb(power) < floorDb)
            raiseHarmonicsFrom(frames[i], hz, static_cast<float>(floorDb - toDb(power)));
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
