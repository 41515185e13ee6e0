#pragma once
// The process-wide engine manager. Built with its cleaner on first use and
// destroyed at exit, which joins the cleaner and deletes what is left.
#include <memory>

#include "engine/CleanGarbageSynthRunnable.h"

namespace HalvorenEngine {

// Builds a manager whose cleaner is already running.
std::unique_ptr<CleanGarbageSynthRunnable> startGarbageCleaner(
    unsigned periodMs = CleanGarbageSynthRunnable::kDefaultPeriodMs);

CleanGarbageSynthRunnable& getEngineManager();

// Makes getEngineManager return `manager` (tests); null returns to the
// process-wide one. The caller keeps ownership.
void setEngineManagerOverride(CleanGarbageSynthRunnable* manager);

}  // namespace HalvorenEngine
