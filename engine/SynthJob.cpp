#include "engine/SynthJob.h"

#include <algorithm>
#include <mutex>

namespace HalvorenEngine {

SynthJob::SynthJob(std::unique_ptr<ISynthJobBody> body)
    : body_(std::move(body)),
      output_(kOutputGrowthBytes),
      writer_(output_, body_->frameSize(), body_->hop()),
      cleanRunnable_(*this),
      cleanThread_(&cleanRunnable_)
{
    const int workers = std::clamp(body_->workerCount(), 1, kMaxWorkers);
    for (int i = 0; i < workers; ++i) {
        workerRunnables_.push_back(std::make_unique<WorkerRunnable>(*this, i));
        workerThreads_.push_back(std::make_unique<CThread>(workerRunnables_.back().get()));
    }
}

SynthJob::~SynthJob()
{
    if (!stop_.load(std::memory_order_acquire))
        stop();
    // The clean-up waits for the workers; the joins below reap what is left.
    cleanThread_.join();
    for (auto& thread : workerThreads_)
        thread->join();
}

void SynthJob::setListener(HVSynthListener* listener)
{
    std::lock_guard<CriticalSection> guard(lock_);
    listener_ = listener;
}

bool SynthJob::isReady() const
{
    return stop_.load(std::memory_order_acquire) && cleaned_.load(std::memory_order_acquire);
}

void SynthJob::prepare()
{
    std::lock_guard<CriticalSection> guard(lock_);
    prepareLocked();
}

void SynthJob::prepareLocked()
{
    if (!isReady() || prepared_.load(std::memory_order_acquire))
        return;
    JobPlan plan;
    if (!writer_.isValid() || !planJob(body_->scoreSpan(), writer_.hop(), body_->sampleRate(), plan) ||
        !writer_.appendZeros(plan.frames)) {
        // A score that cannot be laid out sings nothing: what an earlier
        // score left in the output must not pass for it.
        writer_.clear();
        return;
    }
    startOffset_.store(plan.startOffset, std::memory_order_release);
    prepared_.store(true, std::memory_order_release);
}

void SynthJob::start()
{
    std::lock_guard<CriticalSection> guard(lock_);
    if (!isReady())
        return;
    if (!prepared_.load(std::memory_order_acquire))
        prepareLocked();
    if (!prepared_.load(std::memory_order_acquire)) {
        // A job that cannot be laid out (an unusable writer, a plan beyond
        // the output's limit) makes nothing, and is done at once.
        if (listener_ != nullptr)
            listener_->onJobDone();
        return;
    }
    stop_.store(false, std::memory_order_release);
    body_->beforeStart();
    for (auto& thread : workerThreads_)
        thread->start();
}

void SynthJob::stop()
{
    std::lock_guard<CriticalSection> guard(lock_);
    if (!cleaned_.load(std::memory_order_acquire))
        return;
    stop_.store(true, std::memory_order_release);
    body_->requestStop();
    cleaned_.store(false, std::memory_order_release);
    // A previous clean-up has set cleaned and is at most returning: reap it.
    cleanThread_.join();
    cleanThread_.start();
    prepared_.store(false, std::memory_order_release);
}

void SynthJob::cleanUp()
{
    for (auto& thread : workerThreads_)
        thread->join();
    body_->cleanUp();
    std::lock_guard<CriticalSection> guard(lock_);
    listener_ = nullptr;
    cleaned_.store(true, std::memory_order_release);
}

void SynthJob::finishJob()
{
    std::lock_guard<CriticalSection> guard(lock_);
    if (stop_.load(std::memory_order_acquire))
        return;
    writer_.finish();
    if (listener_ != nullptr)
        listener_->onJobDone();
}

const short* SynthJob::getOutput(int* count) const
{
    if (count != nullptr)
        *count = writer_.length();
    return writer_.data();
}

int SynthJob::samplesReady() const
{
    const int produced = writer_.produced();
    if (produced >= writer_.length())
        return 2147483647;
    const long long ready = static_cast<long long>(produced) - startOffset();
    return static_cast<int>(std::clamp<long long>(ready, -2147483647LL - 1, 2147483647LL));
}

}  // namespace HalvorenEngine
