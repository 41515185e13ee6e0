#pragma once
// This thread's processor time, for benchmarks of single-threaded work short
// enough that time spent waiting for a processor on a shared machine would
// swamp it; and a step of such work timed beside its floor in the same run.
#include <benchmark/benchmark.h>

#include <ctime>

#include "bench/support/BuildType.h"

namespace hvbench {

inline double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Every iteration times one step of the work and then its floor, over the
// same data, both in this thread's processor time, so that a loaded machine
// or a full cache slows both alike. The benchmark's own time is the step's
// (register with UseManualTime); the counters give the floor's time and the
// step's time over the floor's, the row's label the build type.
class FloorPairing {
public:
    // Runs the timed step and sets the iteration's time.
    template <class Step>
    void step(benchmark::State& state, Step&& run)
    {
        const double start = threadSeconds();
        run();
        const double took = threadSeconds() - start;
        steps += took;
        state.SetIterationTime(took);
    }

    template <class Floor>
    void floor(Floor&& run)
    {
        const double start = threadSeconds();
        run();
        floors += threadSeconds() - start;
    }

    void report(benchmark::State& state) const
    {
        state.counters["floor_ms"] = 1e3 * floors / static_cast<double>(state.iterations());
        state.counters["ratio"] = floors > 0.0 ? steps / floors : 0.0;
        labelBuildType(state);
    }

private:
    double steps = 0.0;
    double floors = 0.0;
};

}  // namespace hvbench
