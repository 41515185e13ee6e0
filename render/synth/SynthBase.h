#pragma once
// What every editor-side synthesizer shares: the completion bridge from the
// engine's listener to the callback, and the job operations forwarded to the
// engine front, each doing nothing (0, false or null) while there is none.
#include <atomic>

#include "engine/HVSynthListener.h"
#include "engine/IHVSynthesizer.h"
#include "render/synth/ISynth.h"

class SynthBase : public ISynth, public HalvorenEngine::HVSynthListener {
public:
    SynthBase() = default;
    SynthBase(const SynthBase&) = delete;
    SynthBase& operator=(const SynthBase&) = delete;

    void start() override;
    void stop() override;
    bool isReady() override;
    const short* getOutput(int* count) override;
    int samplesDone() override;
    int samplesReady() override;
    std::int64_t samplesSaturated() override;
    std::string bankFault() override;

    void setCallback(ISynthCallback* callback) override;
    ISynthCallback* getCallback() const override { return callback_.load(std::memory_order_acquire); }

    // On the engine's worker thread: tells the callback, if any.
    void onJobDone() override;

protected:
    // The engine front of the job, or null.
    virtual HalvorenEngine::IHVSynthesizer* engine() const = 0;

private:
    std::atomic<ISynthCallback*> callback_{nullptr};
};

// Stops an engine front and hands it to the engine manager, which deletes it
// once its job is idle. Null is ignored.
void releaseEngineFront(HalvorenEngine::IHVSynthesizer* engine);
