#include "bench/support/OverlapAddFloor.h"

#include <benchmark/benchmark.h>

#include <cstddef>

namespace hvbench {

[[gnu::aligned(64), gnu::noinline]] void OverlapAddFloor::run(int frames)
{
    out_.assign(static_cast<std::size_t>(frames + 1) * hop_ + frameSize_, 0.0f);
    for (int k = 0; k < frames; ++k) {
        if (withForward_)
            kiss_fftr(forwardPlan_, input_.data(), spectrum_.data());
        kiss_fftri(plan_, spectrum_.data(), frame_.data());
        float* at = out_.data() + static_cast<std::size_t>(k) * hop_;
        const float* centre = frame_.data() + frameSize_ / 2 - hop_;
        for (int i = 0; i < 2 * hop_; ++i)
            at[i] += window_[i] * centre[i];
    }
    benchmark::DoNotOptimize(out_.data());
}

}  // namespace hvbench
