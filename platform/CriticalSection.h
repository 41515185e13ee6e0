#pragma once
// Critical sections: recursive locks, as the sections they stand in for can be
// entered again by the thread that holds them. Usable with std::lock_guard.
#include <mutex>

class CriticalSection {
public:
    CriticalSection() = default;
    virtual ~CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }
    bool try_lock() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};

namespace Halvoren {
// The lock of the synthesis side, guarding caches of the engines and stores.
class GeneralMutex : public CriticalSection {};
}  // namespace Halvoren

// The lock of the audio players.
class CCommonMutex : public CriticalSection {};
