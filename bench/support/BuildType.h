#pragma once
// The build type a benchmark was compiled in (the build sets HV_BUILD_TYPE).
// Every benchmark that prints a ratio labels its row with it: the speed
// goals hold for the Release build, and a ratio from a build with other
// optimisation says little about them.
#include <benchmark/benchmark.h>

#include <string>

namespace hvbench {

inline constexpr const char* kBuildType = HV_BUILD_TYPE;

// Labels the row "build=<type>", followed by extra when it is not empty.
inline void labelBuildType(benchmark::State& state, const std::string& extra = {})
{
    std::string label = std::string("build=") + kBuildType;
    if (!extra.empty())
        label += " " + extra;
    state.SetLabel(label);
}

}  // namespace hvbench
