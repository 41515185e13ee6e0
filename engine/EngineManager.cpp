#include "engine/EngineManager.h"

#include <atomic>

namespace HalvorenEngine {

namespace {
std::atomic<CleanGarbageSynthRunnable*> managerOverride{nullptr};
}

std::unique_ptr<CleanGarbageSynthRunnable> startGarbageCleaner(unsigned periodMs)
{
    return std::make_unique<CleanGarbageSynthRunnable>(periodMs);
}

CleanGarbageSynthRunnable& getEngineManager()
{
    if (CleanGarbageSynthRunnable* manager = managerOverride.load(std::memory_order_acquire))
        return *manager;
    static const std::unique_ptr<CleanGarbageSynthRunnable> manager = startGarbageCleaner();
    return *manager;
}

void setEngineManagerOverride(CleanGarbageSynthRunnable* manager)
{
    managerOverride.store(manager, std::memory_order_release);
}

}  // namespace HalvorenEngine
