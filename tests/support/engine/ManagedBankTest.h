#pragma once
// A test fixture whose engine fronts go onto its own manager (set as the
// engine's for the test's length), with a scratch bank tree under `tag`.
#include <gtest/gtest.h>

#include <string>

#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "support/bank/BankTree.h"

namespace enginetest {

template <class Base = ::testing::Test>
class ManagedBankTest : public Base {
protected:
    explicit ManagedBankTest(const std::string& tag) : tree_(tag)
    {
        HalvorenEngine::setEngineManagerOverride(&manager_);
    }
    ~ManagedBankTest() override { HalvorenEngine::setEngineManagerOverride(nullptr); }

    HalvorenEngine::CleanGarbageSynthRunnable manager_{5};
    testbank::BankTree tree_;
};

}  // namespace enginetest
