#include "dsp/PeakTracks.h"

#include <algorithm>
#include <cmath>

namespace Halvoren {

void PeakTracks::clear()
{
    frames_.clear();
}

PeakList& PeakTracks::appendFrame()
{
    frames_.push_back(std::make_unique<PeakList>());
    return *frames_.back();
}

void PeakTracks::appendFrames(const PeakTracks& src, long long first, long long last)
{
    first = std::max(first, 0LL);
    last = std::min(last, static_cast<long long>(src.size()) - 1);
    if (&src == this) {
        // Copy out first: appending may move the vector of frames being read.
        PeakTracks copy;
        copy.appendFrames(src, first, last);
        for (auto& f : copy.frames_)
            frames_.push_back(std::move(f));
        return;
    }
    for (long long i = first; i <= last; ++i)
        appendFrame().assign(src.frame(static_cast<std::size_t>(i)));
}

void PeakTracks::frameAt(float pos, PeakList& out) const
{
    if (frames_.empty()) {
        out.clear();
        return;
    }
    const long long last = static_cast<long long>(frames_.size()) - 1;
    if (!(pos >= 0.0f))
        pos = 0.0f;
    if (pos > static_cast<float>(last))
        pos = static_cast<float>(last);
    const long long i = static_cast<long long>(std::floor(pos));
    const long long j = std::min(i + 1, last);
    frame(static_cast<std::size_t>(i))
        .blendWith(frame(static_cast<std::size_t>(j)), static_cast<float>(i) + 1.0f - pos, out);
}

float PeakTracks::averageMagAround(int frameIndex, int peak, int radius) const
{
    constexpr float kFloorDb = -120.0f;
    if (radius < 0 || peak < 0)
        return kFloorDb;
    const long long from = std::max(0LL, static_cast<long long>(frameIndex) - radius);
    const long long to = std::min(static_cast<long long>(frames_.size()) - 1, static_cast<long long>(frameIndex) + radius);
    float sum = 0.0f;
    int counted = 0;
    for (long long i = from; i <= to; ++i) {
        const PeakList& f = frame(static_cast<std::size_t>(i));
        const auto p = static_cast<std::size_t>(peak);
        if (p >= f.size() || f.freqs[p] == 0.0f || f.mags[p] == kFloorDb)
            continue;
        sum += f.mags[p];
        ++counted;
    }
    return counted > 0 ? sum / static_cast<float>(counted) : kFloorDb;
}

void PeakTracks::smoothFrame(int frameIndex, int radius, std::vector<float>& out) const
{
    out.clear();
    if (frameIndex < 0 || static_cast<std::size_t>(frameIndex) >= frames_.size())
        return;
    const std::size_t peaks = frame(static_cast<std::size_t>(frameIndex)).size();
    for (std::size_t i = 0; i < peaks; ++i) {
        const float mean = averageMagAround(frameIndex, static_cast<int>(i), radius);
        if (mean == 0.0f)
            break;
        out.push_back(mean);
    }
}

}  // namespace Halvoren
