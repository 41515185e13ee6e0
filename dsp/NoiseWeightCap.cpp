#include "dsp/NoiseWeightCap.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "dsp/SynthesisWindow.h"

namespace HalvorenEngine {

namespace {

// The weight a part that does not carry the analysis window is held to: the
// centre value of the writer's window.
float windowCentreValue(const std::vector<float>& synthesisWindow)
{
    return synthesisWindow[synthesisWindow.size() / 2];
}

}  // namespace

std::vector<float> spreadWeights(const std::vector<float>& synthesisWindow, int hop)
{
    const auto size = static_cast<std::ptrdiff_t>(synthesisWindow.size());
    if (hop <= 0 || 2 * std::ptrdiff_t{hop} > size)
        return {};
    const auto first = synthesisWindow.begin() + (size / 2 - hop);
    std::vector<float> weights(first, first + 2 * hop);
    const float cap = windowCentreValue(synthesisWindow);
    if (std::none_of(weights.begin(), weights.end(), [cap](float w) { return w > cap; }))
        return weights;
    // sin^2 of one frame and cos^2 of the frame a hop later add up to 1.
    for (int i = 0; i < 2 * hop; ++i)
        weights[static_cast<std::size_t>(i)] =
            cap * static_cast<float>(std::sin(std::numbers::pi * (i + 0.5) / (2.0 * hop)));
    return weights;
}

NoiseWeightCap::NoiseWeightCap(int frameSize, int hop) : frameSize_(frameSize)
{
    const std::vector<float> w = makeSynthesisWindow(frameSize, hop);
    if (w.empty())
        return;
    first_ = frameSize / 2 - hop;
    even_ = excessOf(w, spreadWeights(w, hop));
    if (even_.excess.empty())
        return;
    const float cap = windowCentreValue(w);
    std::vector<float> held(w.begin() + first_, w.begin() + first_ + 2 * hop);
    for (float& v : held)
        v = std::min(v, cap);
    ownWindow_ = excessOf(w, held);
    spread_.resize(static_cast<std::size_t>(frameSize));
}

NoiseWeightCap::Excess NoiseWeightCap::excessOf(const std::vector<float>& window,
                                                const std::vector<float>& weights) const
{
    const int count = static_cast<int>(weights.size());
    std::vector<float> excess(weights.size(), 0.0f);
    bool any = false;
    for (int i = 0; i < count; ++i) {
        const float w = window[static_cast<std::size_t>(first_ + i)];
        const float s = weights[static_cast<std::size_t>(i)];
        if (s != w) {
            excess[static_cast<std::size_t>(i)] = s / w - 1.0f;
            any = true;
        }
    }
    Excess out;
    if (!any)
        return out;
    out.excess = std::move(excess);
    // The samples with excess in runs that do not cross the frame's middle,
    // where the transform's order wraps.
    const int half = frameSize_ / 2;
    for (int i = 0; i < count;) {
        if (out.excess[static_cast<std::size_t>(i)] == 0.0f) {
            ++i;
            continue;
        }
        const int from = i;
        const bool low = first_ + i < half;
        while (i < count && out.excess[static_cast<std::size_t>(i)] != 0.0f && (first_ + i < half) == low)
            ++i;
        out.runs.push_back({from, i});
    }
    return out;
}

void NoiseWeightCap::takeSpread(Halvoren::FreqBox& box, Spread spread)
{
    if (!binds() || box.n != frameSize_)
        return;
    box.fft.inverse(box.re.data(), box.im.data(), spread_.data());
    taken_ = spread == Spread::even ? &even_ : &ownWindow_;
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
    // weighted samples lie within the frame, so the wrap is one subtraction.
    const int half = frameSize_ / 2;
    const float* excess = taken_->excess.data();
    for (const Run& run : taken_->runs) {
        float* at = frame + first_;
        const int shift = first_ + run.from < half ? half : -half;
        const float* spread = spread_.data() + first_ + shift;
        for (int i = run.from; i < run.to; ++i)
            at[i] += excess[i] * spread[i];
    }
}

}  // namespace HalvorenEngine
