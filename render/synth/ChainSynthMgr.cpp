#include "render/synth/ChainSynthMgr.h"

#include <algorithm>

namespace {
bool holds(const std::vector<ISynth*>& list, const ISynth* synth)
{
    return std::find(list.begin(), list.end(), synth) != list.end();
}
}  // namespace

ChainSynthMgr::~ChainSynthMgr() { clear(); }

void ChainSynthMgr::onSynthFinished(ISynth* synth)
{
    ISynth* following = nullptr;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        const auto it = next_.find(synth);
        if (it == next_.end())
            return;
        following = it->second;
        starting_.push_back(following);
    }
    // Outside the lock: starting takes the job's own lock, which the job's
    // worker holds while it calls in here.
    following->start();
    {
        std::lock_guard<std::mutex> guard(mutex_);
        starting_.erase(std::find(starting_.begin(), starting_.end(), following));
    }
    startDone_.notify_all();
}

void ChainSynthMgr::forgetSynth(ISynth* synth)
{
    std::unique_lock<std::mutex> guard(mutex_);
    dropLocked(synth);
    startDone_.wait(guard, [&] { return !holds(starting_, synth); });
}

void ChainSynthMgr::dropLocked(ISynth* synth)
{
    next_.erase(synth);
    std::erase_if(next_, [synth](const auto& pair) { return pair.second == synth; });
    std::erase(members_, synth);
    if (last_ == synth)
        last_ = nullptr;
}

void ChainSynthMgr::beginTrack()
{
    std::lock_guard<std::mutex> guard(mutex_);
    last_ = nullptr;
    count_ = 0;
}

void ChainSynthMgr::addSynth(ISynth* synth)
{
    if (synth == nullptr)
        return;
    synth->setCallback(this);
    std::lock_guard<std::mutex> guard(mutex_);
    if (!holds(members_, synth))
        members_.push_back(synth);
    if (count_ != 0 && last_ != nullptr)
        next_[last_] = synth;
    last_ = synth;
    ++count_;
}

void ChainSynthMgr::clear()
{
    std::vector<ISynth*> members;
    {
        std::unique_lock<std::mutex> guard(mutex_);
        next_.clear();
        members.swap(members_);
        last_ = nullptr;
        count_ = 0;
        startDone_.wait(guard, [&] { return starting_.empty(); });
    }
    // setCallback tells this chain to forget each one, which finds nothing left.
    for (ISynth* synth : members)
        if (synth->getCallback() == this)
            synth->setCallback(nullptr);
}
