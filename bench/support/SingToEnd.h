#pragma once
// Runs an engine front's job to its end and back to idle, polling every
// 200 microseconds: what the engine benchmarks time per iteration.
#include <atomic>
#include <chrono>
#include <thread>

#include "engine/HVSynthListener.h"
#include "engine/IHVSynthesizer.h"

namespace hvbench {

inline void singToEnd(HalvorenEngine::IHVSynthesizer& synth)
{
    struct DoneFlag : HalvorenEngine::HVSynthListener {
        void onJobDone() override { done = true; }
        std::atomic<bool> done{false};
    } listener;
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
