#pragma once
// A generation for driving the job frame without a voice bank: its worker
// writes one frame of a constant level per planned frame. A test can hold the
// workers at a chosen frame; they stay there, even after stop, until released.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/JobSynthesizer.h"

namespace HalvorenEngineTest {

struct TestConfig {
    int frameSize = 64;
    int hop = 16;
    int workers = 1;
    float level = 0.25f;
    int holdAtFrame = -1;                   // -1 never; the frame count: before finishing
    std::atomic<bool>* hold = nullptr;      // workers wait while it is set
    int frameDelayUs = 0;                   // pause after every frame
    std::atomic<int>* destroyed = nullptr;  // raised when a job body dies
};

// The score runs at 1000 Hz: lead-in and (start, duration) of each note, in seconds.
class SynthJobTest : public HalvorenEngine::ISynthJobBody {
public:
    explicit SynthJobTest(TestConfig config) : config_(config) {}
    ~SynthJobTest() override;

    float leadIn = 0.0f;
    std::vector<std::pair<float, float>> notes;
    std::string text;
    std::atomic<int> cleanUps{0};

    int frameSize() const override { return config_.frameSize; }
    int hop() const override { return config_.hop; }
    float sampleRate() const override { return 1000.0f; }
    HalvorenEngine::ScoreSpan scoreSpan() const override;
    int workerCount() const override { return config_.workers; }
    void runWorker(int index, HalvorenEngine::JobContext& job) override;
    void cleanUp() override { ++cleanUps; }
    void setSynthText(const std::string& value) override { text = value; }

private:
    void waitWhileHeld() const;
    TestConfig config_;
};

class HVSynthesizer : public HalvorenEngine::JobSynthesizer {
public:
    explicit HVSynthesizer(const std::string& packagePath, TestConfig config = {});
    SynthJobTest& score() { return static_cast<SynthJobTest&>(job().body()); }
};

// A test synthesizer on the manager's live list, with one note of `seconds`.
HVSynthesizer* createSynthesizerTest(HalvorenEngine::CleanGarbageSynthRunnable& manager, TestConfig config,
                                     float seconds);

// Counts onJobDone calls; those arriving while `forbidden` is set apart.
struct CountingListener : HalvorenEngine::HVSynthListener {
    void onJobDone() override
    {
        ++calls;
        if (forbidden)
            ++forbiddenCalls;
    }
    std::atomic<int> calls{0};
    std::atomic<int> forbiddenCalls{0};
    std::atomic<bool> forbidden{false};
};

// Polls until the predicate holds or about five seconds have passed.
template <class Predicate>
bool eventually(Predicate predicate)
{
    for (int i = 0; i < 5000 && !predicate(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return predicate();
}

}  // namespace HalvorenEngineTest
