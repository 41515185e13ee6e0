#include "SungLevel.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "RecordTiming.h"

namespace demobank {

namespace {

constexpr double kSilentDb = -200.0;

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

void raiseBy(std::vector<float>& values, float db)
{
    for (float& v : values)
        v += db;
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
        const double levelDb = 10.0 * std::log10(power);
        if (levelDb < floorDb) {
            raiseBy(frames[i].harmonicsDb, static_cast<float>(floorDb - levelDb));
        }
    }
}

}  // namespace demobank
