#pragma once
// What the engine job benchmarks share: a listener that notes the job's end,
// an engine manager of their own in place of the process-wide one, and a run
// of a job from its start to its end.
#include <atomic>
#include <chrono>
#include <thread>

#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "engine/HVSynthListener.h"
#include "engine/IHVSynthesizer.h"

namespace hvbench {

struct DoneFlag : HalvorenEngine::HVSynthListener {
    void onJobDone() override { done = true; }
    std::atomic<bool> done{false};
};

struct ManagerOverride {
    ManagerOverride() { HalvorenEngine::setEngineManagerOverride(&manager); }
    ~ManagerOverride() { HalvorenEngine::setEngineManagerOverride(nullptr); }
    HalvorenEngine::CleanGarbageSynthRunnable manager{5};
};

// Starts the job, waits for its end, stops it and waits until it is idle.
inline void runJobToEnd(HalvorenEngine::IHVSynthesizer& synth)
{
    DoneFlag listener;
    synth.setListener(&listener);
    synth.start();
    while (!listener.done)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    synth.stop();
    while (!synth.isReady())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    synth.setListener(nullptr);
}

}  // namespace hvbench
