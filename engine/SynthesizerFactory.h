#pragma once
// What every generation's factory does: builds the front over the bank's
// package path (UTF-8) and puts it on the manager's live list. Null when
// memory runs out.
#include <memory>
#include <new>
#include <string>

#include "engine/CleanGarbageSynthRunnable.h"

namespace HalvorenEngine {

template <class Front>
IHVSynthesizer* createSynthesizer(CleanGarbageSynthRunnable& manager, const std::string& packagePath)
{
    try {
        return manager.addSynthesizer(std::make_unique<Front>(packagePath));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace HalvorenEngine
