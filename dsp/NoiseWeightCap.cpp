#include "dsp/NoiseWeightCap.h"

#include <algorithm>
#include <utility>

#include "dsp/SynthesisWindow.h"

namespace HalvorenEngine {

float noiseWeightCap(const std::vector<float>& synthesisWindow)
{
    return synthesisWindow[synthesisWindow.size() / 2];
}

NoiseWeightCap::NoiseWeightCap(int frameSize, int hop) : frameSize_(frameSize)
{
    const std::vector<float> w = makeSynthesisWindow(frameSize, hop);
    if (w.empty())
        return;
    const float cap = noiseWeightCap(w);
    std::vector<float> excess(static_cast<std::size_t>(2 * hop), 0.0f);
    first_ = frameSize / 2 - hop;
    bool binds = false;
    for (int i = 0; i < 2 * hop; ++i) {
        const float v = w[static_cast<std::size_t>(first_ + i)];
        if (v > cap) {
            excess[static_cast<std::size_t>(i)] = cap / v - 1.0f;
            binds = true;
        }
    }
    if (!binds)
        return;
    excess_ = std::move(excess);
    spread_.resize(static_cast<std::size_t>(frameSize));
    // The binding samples in runs that do not cross the frame's middle, where
    // the transform's order wraps.
    const int half = frameSize / 2;
    for (int i = 0; i < 2 * hop;) {
        if (excess_[static_cast<std::size_t>(i)] == 0.0f) {
            ++i;
            continue;
        }
        const int from = i;
        const bool low = first_ + i < half;
        while (i < 2 * hop && excess_[static_cast<std::size_t>(i)] != 0.0f && (first_ + i < half) == low)
            ++i;
        runs_.push_back({from, i});
    }
}

void NoiseWeightCap::takeSpread(Halvoren::FreqBox& box)
{
    if (!binds() || box.n != frameSize_)
        return;
    box.fft.inverse(box.re.data(), box.im.data(), spread_.data());
    held_ = true;
    whole_ = true;
}

void NoiseWeightCap::takeSpreadBeside(Halvoren::FreqBox& box, const std::vector<float>& carried, float gain)
{
    takeSpread(box);
    if (!held_)
        return;
    whole_ = false;
    if (carried.size() != spread_.size()) {
        held_ = false;
        return;
    }
    for (std::size_t j = 0; j < spread_.size(); ++j)
        spread_[j] -= gain * carried[j];
}

bool NoiseWeightCap::inverseTaken(float* out) const
{
    if (!held_ || !whole_)
        return false;
    std::copy(spread_.begin(), spread_.end(), out);
    return true;
}

void NoiseWeightCap::capSpread(float* frame)
{
    if (!held_)
        return;
    held_ = false;
    // The transform's sample j lands on frame sample j + n/2 (mod n); the
    // capped samples lie within the frame, so the wrap is one subtraction.
    const int half = frameSize_ / 2;
    const float* excess = excess_.data();
    for (const Run& run : runs_) {
        float* at = frame + first_;
        const int shift = first_ + run.from < half ? half : -half;
        const float* spread = spread_.data() + first_ + shift;
        for (int i = run.from; i < run.to; ++i)
            at[i] += excess[i] * spread[i];
    }
}

}  // namespace HalvorenEngine
