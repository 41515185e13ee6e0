#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "render/audio/MixBuffer.h"
#include "render/audio/WavAudioSrc.h"

namespace {

constexpr int kFrames = 256;
constexpr int kSources = 8;
constexpr int kClipFrames = 44100;

struct Bed {
    std::vector<std::vector<int16_t>> data;
    std::vector<std::unique_ptr<WavAudioSrc>> srcs;
    std::vector<AudioSrc*> ptrs;

    Bed() {
        for (int s = 0; s < kSources; ++s) {
            data.emplace_back(static_cast<size_t>(kClipFrames) * 2);
            for (size_t i = 0; i < data.back().size(); ++i) data.back()[i] = static_cast<int16_t>(i * (s + 3));
            auto src = std::make_unique<WavAudioSrc>();
            src->left = data.back().data();
            src->right = data.back().data() + kClipFrames;
            src->length = src->storedLength = kClipFrames;
            src->gain = 0.7f;
            src->pan = 0.25f * (s - 4);
            ptrs.push_back(src.get());
            srcs.push_back(std::move(src));
        }
    }
};

void BM_Mix8Sources(benchmark::State& state) {
    Bed bed;
    std::vector<int16_t> out(kFrames * 2);
    std::vector<int32_t> acc;
    for (auto _ : state) {
        mixBuffer(out.data(), kFrames, bed.ptrs, acc);
        benchmark::DoNotOptimize(out.data());
        if (bed.ptrs[0]->readPos + kFrames > kClipFrames)
            for (AudioSrc* s : bed.ptrs) s->readPos = 0;
    }
    state.SetItemsProcessed(state.iterations() * kFrames * kSources);
}
BENCHMARK(BM_Mix8Sources);

// The floor: copying the same number of samples, with no gain, pan or sum.
void BM_CopyFloor(benchmark::State& state) {
    Bed bed;
    std::vector<int16_t> out(static_cast<size_t>(kFrames) * 2 * kSources);
    int pos = 0;
    for (auto _ : state) {
        for (int s = 0; s < kSources; ++s) {
            std::memcpy(out.data() + s * kFrames * 2, bed.data[s].data() + pos, kFrames * sizeof(int16_t));
            std::memcpy(out.data() + s * kFrames * 2 + kFrames, bed.data[s].data() + kClipFrames + pos,
                        kFrames * sizeof(int16_t));
        }
        benchmark::DoNotOptimize(out.data());
        pos = pos + 2 * kFrames > kClipFrames ? 0 : pos + kFrames;
    }
    state.SetItemsProcessed(state.iterations() * kFrames * kSources);
}
BENCHMARK(BM_CopyFloor);

}  // namespace
