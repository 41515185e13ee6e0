#include "SpeechTail.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace demobank {

namespace {

constexpr std::int64_t kFrameHop = 128;
constexpr std::int64_t kHalfWindow = 128;
constexpr float kSilenceDb = -120.0f;

void lower(std::vector<float>& levels, float db)
{
    for (float& v : levels)
        v = std::max(kSilenceDb, v + db);
}

}  // namespace

float frameLevelDb(const std::vector<std::int16_t>& recording, std::int32_t frame)
{
    const std::int64_t centre = std::int64_t(frame) * kFrameHop;
    double sum = 0.0;
    for (std::int64_t n = centre - kHalfWindow; n < centre + kHalfWindow; ++n)
        if (n >= 0 && n < static_cast<std::int64_t>(recording.size())) {
            const double x = recording[static_cast<std::size_t>(n)] / 32768.0;
            sum += x * x;
        }
    const double meanSquare = sum / double(2 * kHalfWindow);
    return meanSquare > 0.0 ? std::max(kSilenceDb, static_cast<float>(10.0 * std::log10(meanSquare))) : kSilenceDb;
}

std::int32_t tailLength(const std::vector<std::int16_t>& recording, std::int32_t last)
{
    const float floor = frameLevelDb(recording, last) - kTailRangeDb;
    std::int32_t n = 0;
    while (n < kLongestTail && frameLevelDb(recording, last + n + 1) > floor)
        ++n;
    return std::max(n, kShortestTail);
}

std::vector<bankwriter::PlainFrame> tailFrames(const std::vector<std::int16_t>& recording, std::int32_t last,
                                             std::int32_t count, const bankwriter::PlainFrame& lastFrame)
{
    const float from = frameLevelDb(recording, last);
    float lowest = from;
    std::vector<bankwriter::PlainFrame> out;
    for (std::int32_t k = 1; k <= count; ++k) {
        lowest = std::min(lowest, frameLevelDb(recording, last + k));
        const double cosine = 0.5 * (1.0 + std::cos(std::numbers::pi * k / (count + 1)));
        const float db = std::max(lowest - from, static_cast<float>(20.0 * std::log10(cosine)));
        bankwriter::PlainFrame f = lastFrame;
        lower(f.harmonicsDb, db);
        lower(f.bands, db);
        lower(f.magsA, db);
        lower(f.magsB, db);
        out.push_back(std::move(f));
    }
    return out;
}

}  // namespace demobank
