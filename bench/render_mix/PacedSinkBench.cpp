// Plays silence through the paced test sink for a few seconds and reports
// the frames delivered against the wall time that passed.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "bench/support/BuildType.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/AudioStreamListener.h"

namespace {

class FrameCounter : public AudioStreamListener {
public:
    void onPlayPosition(double) override {}
    void onPlayFinished(double) override {}
};

void BM_PacedSinkFramesPerWallSecond(benchmark::State& state) {
    setenv("ALSA_CONFIG_PATH", HV_PACED_SINK_CONF, 1);
    AudioStreamGroup group;
    FrameCounter counter;
    group.player().setListener(&counter);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        group.restart();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        const int64_t frames = group.player().framesPlayed();
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        group.abort();
        state.counters["frames"] = static_cast<double>(frames);
        state.counters["wall_s"] = wall;
        state.counters["ratio"] = frames / 44100.0 / wall;
        hvbench::labelBuildType(state);
    }
}
BENCHMARK(BM_PacedSinkFramesPerWallSecond)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
