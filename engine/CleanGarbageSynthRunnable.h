#pragma once
// The engine manager: every synthesizer made by a factory (the live list),
// the released ones waiting to be deleted (the garbage list), and the cleaner
// thread that deletes them. Each pass of the cleaner looks at the head of the
// garbage list only and deletes it once its job is idle, so at most one
// synthesizer goes per pass and a busy head holds back the others.
//
// Destruction stops the cleaner and waits for it, then stops every
// synthesizer still known, waits until its job is idle and deletes it, so no
// engine thread outlives the manager.
#include <condition_variable>
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>

#include "engine/CThread.h"
#include "engine/IHVSynthesizer.h"
#include "platform/CriticalSection.h"

namespace HalvorenEngine {

class CleanGarbageSynthRunnable : public Runnable {
public:
    static constexpr unsigned kDefaultPeriodMs = 80;

    // Starts the cleaner, which makes a pass every periodMs milliseconds.
    explicit CleanGarbageSynthRunnable(unsigned periodMs = kDefaultPeriodMs);
    ~CleanGarbageSynthRunnable() override;
    CleanGarbageSynthRunnable(const CleanGarbageSynthRunnable&) = delete;
    CleanGarbageSynthRunnable& operator=(const CleanGarbageSynthRunnable&) = delete;

    // Puts a new synthesizer on the live list and hands it out; the manager
    // deletes it after its release. Null stays null.
    IHVSynthesizer* addSynthesizer(std::unique_ptr<IHVSynthesizer> synth);
    // Stops the synthesizer and queues it for deletion. Null, and a
    // synthesizer already queued, are ignored.
    void releaseSynthesizer(IHVSynthesizer* synth);

    // One pass of the cleaner; true when it deleted a synthesizer.
    bool cleanOnce();

    std::size_t liveCount() const;
    std::size_t garbageCount() const;

    // The cleaner thread's routine.
    void run() override;

private:
    bool waitForStop(unsigned milliseconds);

    // The engine lock, around both lists.
    mutable CriticalSection lock_;
    std::list<IHVSynthesizer*> live_;
    std::list<IHVSynthesizer*> garbage_;

    const unsigned periodMs_;
    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    bool stop_ = false;
    CThread thread_;
};

}  // namespace HalvorenEngine
