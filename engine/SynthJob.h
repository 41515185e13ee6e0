#pragma once
// The thread frame of every synthesis job: output buffer and writer, the
// prepare / start / stop state, the worker threads and the clean-up thread
// started by stop, and the listener.
//
// States: idle and unprepared (new) -> prepared -> running (start) ->
// stopping (stop: clean-up thread waiting for the workers) -> idle. A job
// that runs to its end tells its listener and stays running until stop.
// Flags read across threads are atomic; start, stop and the listener call
// share one lock, so no listener hears onJobDone once stop has returned.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/CThread.h"
#include "engine/HVSynthListener.h"
#include "engine/ISynthJobBody.h"
#include "dsp/SampleOutWriter.h"
#include "platform/CriticalSection.h"

namespace HalvorenEngine {

class SynthJob final : private JobContext {
public:
    // Growth step of the output buffer in bytes.
    static constexpr unsigned kOutputGrowthBytes = 4096;
    static constexpr int kMaxWorkers = 2;

    explicit SynthJob(std::unique_ptr<ISynthJobBody> body);
    // Stops a running job and waits for all its threads.
    ~SynthJob();
    SynthJob(const SynthJob&) = delete;
    SynthJob& operator=(const SynthJob&) = delete;

    ISynthJobBody& body() { return *body_; }

    void setListener(HVSynthListener* listener);
    void setSynthText(const std::string& text) { body_->setSynthText(text); }
    bool isReady() const;
    // Lays out the output for the score; nothing unless idle and unprepared.
    // For a writer whose hop is unusable or a plan too long the output is
    // left empty, whatever an earlier score left in it.
    void prepare();
    // Prepares if needed and starts the workers of an idle job. An idle job
    // that cannot be prepared has an empty output and tells its listener at
    // once that it is done.
    void start();
    void stop();
    const short* getOutput(int* count) const;
    int samplesDone() const { return writer_.produced(); }
    int samplesReady() const;
    int startOffset() const { return startOffset_.load(std::memory_order_acquire); }
    // Frames the job has drawn into its output since it was prepared.
    int framesDrawn() const { return writer_.framesDrawn(); }
    std::int64_t samplesSaturated() const { return writer_.samplesSaturated(); }
    // Frame values of the last prepared run that were not finite.
    std::int64_t samplesNotFinite() const { return writer_.samplesNotFinite(); }

private:
    class WorkerRunnable : public Runnable {
    public:
        WorkerRunnable(SynthJob& job, int index) : job_(job), index_(index) {}
        void run() override { job_.body_->runWorker(index_, job_); }

    private:
        SynthJob& job_;
        int index_;
    };
    class CleanRunnable : public Runnable {
    public:
        explicit CleanRunnable(SynthJob& job) : job_(job) {}
        void run() override { job_.cleanUp(); }

    private:
        SynthJob& job_;
    };

    void prepareLocked();
    void cleanUp();

    // JobContext, for the workers.
    SampleOutWriter& writer() override { return writer_; }
    bool isStopRequested() const override { return stop_.load(std::memory_order_acquire); }
    void finishJob() override;

    std::unique_ptr<ISynthJobBody> body_;
    OutputBuffer output_;
    SampleOutWriter writer_;
    // Guards the start/stop state and the listener.
    mutable CriticalSection lock_;
    HVSynthListener* listener_ = nullptr;
    std::atomic<bool> cleaned_{true};
    std::atomic<bool> stop_{true};
    std::atomic<bool> prepared_{false};
    std::atomic<int> startOffset_{0};
    std::vector<std::unique_ptr<WorkerRunnable>> workerRunnables_;
    std::vector<std::unique_ptr<CThread>> workerThreads_;
    CleanRunnable cleanRunnable_;
    CThread cleanThread_;
};

}  // namespace HalvorenEngine
