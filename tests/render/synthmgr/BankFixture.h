#pragma once
// Installed singers for the synthesizer-manager tests: bank folders in a
// scratch folder with empty package files, singers in the global list, a
// scripted message box, and an engine manager in place of the global one.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "platform/MessageBox.h"
#include "support/ScratchDir.h"
#include "voicebank/Singer.h"
#include "voicebank/SingerMgr.h"

namespace synthtest {

class BankFixture : public ::testing::Test {
protected:
    BankFixture() : boxes_(&script_) { HalvorenEngine::setEngineManagerOverride(&manager_); }
    ~BankFixture() override
    {
        getSingerList()->clearSingers();
        HalvorenEngine::setEngineManagerOverride(nullptr);
    }

    // A singer of the version whose bank folder holds the chosen package files.
    void addSinger(const std::string& name, const std::string& version, bool hvi = true, bool hvc = true)
    {
        const std::string folder = dir_.file(name) + "/";
        std::filesystem::create_directories(folder);
        if (hvi)
            std::ofstream(folder + "HVI");
        if (hvc)
            std::ofstream(folder + "HVC");
        auto* singer = new Singer();
        Json::Value description(Json::objectValue);
        description["version"] = version;
        description["name"] = name;
        description["path"] = folder;
        singer->fromJson(description);
        getSingerList()->addSinger(singer);
    }

    hvtest::ScratchDir dir_{"synthmgr"};
    ScriptedMessageBoxService script_;
    ScopedMessageBoxService boxes_;
    HalvorenEngine::CleanGarbageSynthRunnable manager_{1};
};

}  // namespace synthtest
