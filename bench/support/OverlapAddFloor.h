#pragma once
// The floor the engine benchmarks measure against: a bare KISS FFT inverse of
// `frames` fixed spectra of frameSize points (each after a forward transform
// of a fixed frame, with withForward), each overlap-added into floats over
// two hops, with no synthesis around it.
#include <benchmark/benchmark.h>
#include <kiss_fftr.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace hvbench {

inline void runInverseOverlapAddFloor(benchmark::State& state, int frameSize, int hop, int frames,
                                      bool withForward = false)
{
    kiss_fftr_cfg plan = kiss_fftr_alloc(frameSize, 1, nullptr, nullptr);
    kiss_fftr_cfg forwardPlan = kiss_fftr_alloc(frameSize, 0, nullptr, nullptr);
    std::vector<float> input(frameSize);
    for (int i = 0; i < frameSize; ++i)
        input[i] = 0.001f * static_cast<float>(i % 13);
    std::vector<kiss_fft_cpx> spectrum(frameSize / 2 + 1);
    for (int k = 0; k <= frameSize / 2; ++k)
        spectrum[k] = {0.001f * static_cast<float>(k % 7), 0.001f * static_cast<float>(k % 5)};
    std::vector<float> frame(frameSize);
    std::vector<float> window(2 * hop, 0.5f);
    std::vector<float> out(static_cast<std::size_t>(frames + 1) * hop + frameSize);
    for (auto _ : state) {
        std::fill(out.begin(), out.end(), 0.0f);
        for (int k = 0; k < frames; ++k) {
            if (withForward)
                kiss_fftr(forwardPlan, input.data(), spectrum.data());
            kiss_fftri(plan, spectrum.data(), frame.data());
            float* at = out.data() + static_cast<std::size_t>(k) * hop;
            const float* centre = frame.data() + frameSize / 2 - hop;
            for (int i = 0; i < 2 * hop; ++i)
                at[i] += window[i] * centre[i];
        }
        benchmark::DoNotOptimize(out.data());
    }
    kiss_fftr_free(plan);
    kiss_fftr_free(forwardPlan);
}

}  // namespace hvbench
