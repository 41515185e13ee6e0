#pragma once
// A job timed against its floor in the same process: every iteration runs
// the job, then the floor over exactly the frames the job rendered, so that
// a loaded machine slows both alike and the ratio is per rendered frame. The
// benchmark's own time is the job's wall time (register with UseManualTime);
// the counters give the wall-time ratio, the process CPU-time ratio (jobs on
// several threads use more CPU than wall time) and the floor per frame, and
// the row's label the build type.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

#include "bench/support/BuildType.h"
#include "bench/support/OverlapAddFloor.h"

namespace hvbench {

struct Clocks {
    double wall = 0.0;
    double cpu = 0.0;

    static Clocks now()
    {
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        const auto wall = std::chrono::steady_clock::now().time_since_epoch();
        return {std::chrono::duration<double>(wall).count(), static_cast<double>(cpu.tv_sec) + 1e-9 * cpu.tv_nsec};
    }
    Clocks operator-(const Clocks& o) const { return {wall - o.wall, cpu - o.cpu}; }
    Clocks& operator+=(const Clocks& o)
    {
        wall += o.wall;
        cpu += o.cpu;
        return *this;
    }
};

// job() renders once and returns the number of frames it rendered.
template <class Job>
void runPairedWithFloor(benchmark::State& state, OverlapAddFloor& floor, Job&& job)
{
    Clocks jobTotal, floorTotal;
    long frames = 0;
    for (auto _ : state) {
        const Clocks start = Clocks::now();
        const int rendered = job();
        const Clocks jobEnd = Clocks::now();
        floor.run(rendered);
        const Clocks floorEnd = Clocks::now();
        state.SetIterationTime((jobEnd - start).wall);
        jobTotal += jobEnd - start;
        floorTotal += floorEnd - jobEnd;
        frames += rendered;
    }
    if (frames <= 0 || floorTotal.wall <= 0.0 || floorTotal.cpu <= 0.0) {
        state.SkipWithError("the job rendered no frame");
        return;
    }
    state.counters["frames"] = static_cast<double>(frames) / static_cast<double>(state.iterations());
    state.counters["ratio"] = jobTotal.wall / floorTotal.wall;
    state.counters["cpu_ratio"] = jobTotal.cpu / floorTotal.cpu;
    state.counters["floor_us_per_frame"] = 1e6 * floorTotal.wall / static_cast<double>(frames);
    labelBuildType(state);
}

}  // namespace hvbench
