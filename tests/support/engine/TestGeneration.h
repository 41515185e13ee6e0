#pragma once
// A generation for driving the job frame and the editor-side synthesizers
// without a voice bank: its body holds the score of one generation's input
// and records the text, starts and finishes of its job; its worker writes one
// frame of a constant level per planned frame. A test can hold the workers at
// a chosen frame; they stay there, even after stop, until released.
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "dsp/Windows.h"
#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/JobSynthesizer.h"
#include "dsp/SampleOutWriter.h"
#include "engine/SynthScoreV3.h"

namespace HalvorenEngineTest {

// A frame shaped by the normalised Blackman-Harris window, as the frame
// synthesis delivers it: through the writer's window it becomes level * triangle.
inline std::vector<float> shapedFrame(int frameSize, float level)
{
    std::vector<float> frame(static_cast<std::size_t>(frameSize));
    Halvoren::makeBlackmanHarrisWindow(frame.data(), frameSize);
    Halvoren::normalizeWindowSum(frame.data(), frameSize);
    for (float& v : frame)
        v *= level;
    return frame;
}

// A note record of the first generation that only has its times.
inline HalvorenEngine::SynthNoteV1 timedNote(float start, float duration)
{
    HalvorenEngine::SynthNoteV1 note;
    note.start = start;
    note.duration = duration;
    return note;
}

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

// The job runs at 1000 Hz over the score it is (lead-in and note times in
// seconds). Score is SynthScoreV1, SynthScoreV2 or SynthScoreV3.
template <class Score>
class ScoreJobTest : public HalvorenEngine::ISynthJobBody, public Score {
public:
    explicit ScoreJobTest(TestConfig config) : config_(config) {}
    ~ScoreJobTest() override
    {
        if (config_.destroyed != nullptr)
            ++*config_.destroyed;
    }

    std::atomic<int> cleanUps{0};
    std::atomic<int> starts{0};
    std::atomic<int> finishes{0};
    std::string text;  // set on the main thread only

    int frameSize() const override { return config_.frameSize; }
    int hop() const override { return config_.hop; }
    float sampleRate() const override { return 1000.0f; }
    std::string bankFault() const override { return std::string(); }
    int workerCount() const override { return config_.workers; }
    void cleanUp() override { ++cleanUps; }
    void beforeStart() override { ++starts; }
    void setSynthText(const std::string& synthText) override { text = synthText; }
    HalvorenEngine::ScoreSpan scoreSpan() const override
    {
        return HalvorenEngine::scoreSpanOfNotes(this->leadIn, this->notes);
    }

    void runWorker(int index, HalvorenEngine::JobContext& job) override
    {
        if (index > 0) {  // the helper thread of a two-thread generation
            if (config_.holdAtFrame >= 0)
                waitWhileHeld();
            return;
        }
        HalvorenEngine::SampleOutWriter& writer = job.writer();
        const std::vector<float> frame = shapedFrame(config_.frameSize, config_.level);
        const int frames = writer.length() / writer.hop() - 1;
        for (int k = 0;; ++k) {
            if (k == config_.holdAtFrame)
                waitWhileHeld();
            if (k == frames)
                break;
            if (job.isStopRequested())
                return;
            writer.addFrame(k, frame.data(), 1.0f);
            std::this_thread::sleep_for(std::chrono::microseconds(config_.frameDelayUs));
        }
        ++finishes;
        job.finishJob();
    }

private:
    void waitWhileHeld() const
    {
        while (config_.hold != nullptr && *config_.hold)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    TestConfig config_;
};

using SynthJobTest = ScoreJobTest<HalvorenEngine::SynthScoreV1>;

template <class Score>
class ScoreSynthesizer : public HalvorenEngine::JobSynthesizer {
public:
    explicit ScoreSynthesizer(const std::string& packagePath, TestConfig config = {})
        : JobSynthesizer(std::make_unique<ScoreJobTest<Score>>(config), packagePath)
    {
    }
    ScoreJobTest<Score>& score() { return static_cast<ScoreJobTest<Score>&>(job().body()); }
};

using HVSynthesizer = ScoreSynthesizer<HalvorenEngine::SynthScoreV1>;

// A test synthesizer on the manager's live list, with one note of `seconds`.
inline HVSynthesizer* createSynthesizerTest(HalvorenEngine::CleanGarbageSynthRunnable& manager,
                                            TestConfig config, float seconds)
{
    auto synth = std::make_unique<HVSynthesizer>("", config);
    synth->score().notes = {timedNote(0.0f, seconds)};
    return static_cast<HVSynthesizer*>(manager.addSynthesizer(std::move(synth)));
}

// A test synthesizer of the given score on the manager's live list, without notes.
template <class Score>
ScoreSynthesizer<Score>* createScoreSynthesizer(HalvorenEngine::CleanGarbageSynthRunnable& manager,
                                                TestConfig config = {})
{
    return static_cast<ScoreSynthesizer<Score>*>(
        manager.addSynthesizer(std::make_unique<ScoreSynthesizer<Score>>("", config)));
}

// Counts onJobDone calls; those arriving while `forbidden` is set apart.
struct CountingListener : HalvorenEngine::HVSynthListener {
    void onJobDone() override
    {
        ++calls;
        forbiddenCalls += forbidden ? 1 : 0;
    }
    std::atomic<int> calls{0};
    std::atomic<int> forbiddenCalls{0};
    std::atomic<bool> forbidden{false};
};

// Polls until the predicate holds or a minute has passed: an instrumented
// build on a loaded machine sings many times slower than real time.
template <class Predicate>
bool eventually(Predicate predicate)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!predicate() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return predicate();
}

// The front's whole output as it stands.
template <class Front>
std::vector<short> outputOf(Front& front)
{
    int count = 0;
    const short* samples = front.getOutput(&count);
    return std::vector<short>(samples, samples + count);
}

// Holds a stand-in worker inside one step until the test opens the gate, and
// tells the test when the worker got there: a stop sent then arrives during
// that step, however late a loaded machine runs either thread.
struct StepGate {
    std::atomic<int> holdAt{-1};  // the step to wait in; -1: none
    std::atomic<bool> reached{false};
    std::atomic<bool> open{false};

    void close(int step)
    {
        reached = false;
        open = false;
        holdAt = step;
    }
    // Called by the worker as it enters each step.
    void pass(int step)
    {
        if (step != holdAt.load())
            return;
        reached = true;
        while (!open.load())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
};

// Starts the front and stops it while its worker waits in the gate's step,
// then lets the worker go on; false when it never got there or never came back.
template <class Front>
bool stoppedInStep(Front& front, StepGate& gate)
{
    front.start();
    const bool reached = eventually([&] { return gate.reached.load(); });
    front.stop();
    gate.open = true;
    return reached && eventually([&] { return front.isReady(); });
}

// Stops the front and waits for its worker to come back; false when it did not.
template <class Front>
bool stoppedAndReady(Front& front)
{
    front.stop();
    return eventually([&] { return front.isReady(); });
}

// Runs the front's job to its end and gives its whole output; false in
// *finished when the job did not report done once (or did not stop).
inline std::vector<short> singToEnd(HalvorenEngine::IHVSynthesizer& synth, bool* finished = nullptr)
{
    CountingListener listener;
    synth.setListener(&listener);
    synth.start();
    bool done = eventually([&] { return listener.calls.load() == 1; });
    std::vector<short> out = outputOf(synth);
    synth.stop();
    done = eventually([&] { return synth.isReady(); }) && done;
    synth.setListener(nullptr);
    if (finished != nullptr)
        *finished = done;
    return out;
}

}  // namespace HalvorenEngineTest
