#include "engine/CleanGarbageSynthRunnable.h"

#include <algorithm>
#include <chrono>

#include "platform/Thread.h"

namespace HalvorenEngine {

CleanGarbageSynthRunnable::CleanGarbageSynthRunnable(unsigned periodMs) : periodMs_(periodMs), thread_(this)
{
    thread_.start();
}

CleanGarbageSynthRunnable::~CleanGarbageSynthRunnable()
{
    {
        std::lock_guard<std::mutex> guard(stopMutex_);
        stop_ = true;
    }
    stopSignal_.notify_all();
    thread_.join();

    std::list<IHVSynthesizer*> remaining;
    {
        std::lock_guard<CriticalSection> guard(lock_);
        remaining.swap(live_);
        for (IHVSynthesizer* synth : garbage_)
            if (std::find(remaining.begin(), remaining.end(), synth) == remaining.end())
                remaining.push_back(synth);
        garbage_.clear();
    }
    for (IHVSynthesizer* synth : remaining)
        if (!synth->isReady())
            synth->stop();
    for (IHVSynthesizer* synth : remaining) {
        while (!synth->isReady())
            sleepMs(1);
        delete synth;
    }
}

IHVSynthesizer* CleanGarbageSynthRunnable::addSynthesizer(std::unique_ptr<IHVSynthesizer> synth)
{
    if (!synth)
        return nullptr;
    std::lock_guard<CriticalSection> guard(lock_);
    live_.push_back(synth.get());
    return synth.release();
}

void CleanGarbageSynthRunnable::releaseSynthesizer(IHVSynthesizer* synth)
{
    if (synth == nullptr)
        return;
    synth->stop();
    std::lock_guard<CriticalSection> guard(lock_);
    if (std::find(garbage_.begin(), garbage_.end(), synth) == garbage_.end())
        garbage_.push_back(synth);
}

bool CleanGarbageSynthRunnable::cleanOnce()
{
    std::lock_guard<CriticalSection> guard(lock_);
    if (garbage_.empty())
        return false;
    IHVSynthesizer* head = garbage_.front();
    if (!head->isReady())
        return false;
    const auto inLive = std::find(live_.begin(), live_.end(), head);
    if (inLive != live_.end())
        live_.erase(inLive);
    garbage_.pop_front();
    delete head;
    return true;
}

std::size_t CleanGarbageSynthRunnable::liveCount() const
{
    std::lock_guard<CriticalSection> guard(lock_);
    return live_.size();
}

std::size_t CleanGarbageSynthRunnable::garbageCount() const
{
    std::lock_guard<CriticalSection> guard(lock_);
    return garbage_.size();
}

bool CleanGarbageSynthRunnable::waitForStop(unsigned milliseconds)
{
    std::unique_lock<std::mutex> guard(stopMutex_);
    return stopSignal_.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return stop_; });
}

void CleanGarbageSynthRunnable::run()
{
    while (!waitForStop(periodMs_))
        cleanOnce();
}

}  // namespace HalvorenEngine
