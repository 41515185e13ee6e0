#pragma once
// What the engine job benchmarks share: a listener that notes the job's end,
// an engine manager of their own in place of the process-wide one, and a run
// of a job from its start to its end.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "engine/HVSynthListener.h"
#include "engine/IHVSynthesizer.h"

namespace hvbench {

// Wakes the waiting thread at the job's end, so that no polling of the
// benchmark's own counts as the job's time.
struct DoneFlag : HalvorenEngine::HVSynthListener {
    void onJobDone() override
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        changed.notify_all();
    }
    void wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return done; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
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
    listener.wait();
    synth.stop();
    while (!synth.isReady())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    synth.setListener(nullptr);
}

}  // namespace hvbench
