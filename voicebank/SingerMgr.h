#pragma once
// The process-wide list of installed singers: at most 100, unique by name, in
// load order. Filled once at start-up from the registry and then from the
// "singers" folder; read on the main thread only, so it has no lock.
#include <json/json.h>

#include <list>
#include <string>
#include <vector>

#include "platform/CString.h"
#include "voicebank/ISinger.h"

class Singer;

class SingerMgr {
public:
    static constexpr size_t kMaxSingers = 100;

    SingerMgr() = default;
    ~SingerMgr() { clearSingers(); }
    SingerMgr(const SingerMgr&) = delete;
    SingerMgr& operator=(const SingerMgr&) = delete;

    // The first singer whose name equals name exactly, or null.
    ISinger* findSinger(const std::string& name) const;
    std::vector<std::string> getSingerNames() const;
    // Takes ownership. A singer of the same name is removed and deleted first;
    // when the list is then full the new singer is deleted. True when listed.
    bool addSinger(ISinger* singer);
    void clearSingers();
    size_t size() const { return singers_.size(); }

    // Clears the list, then loads the description named by the value "path"
    // of every key below "SOFTWARE\HalvorenLib\Singers\" of the registry.
    void loadFromRegistry();
    // Loads the first "*.hvsd" of every subfolder of getExeDir() + "/singers/".
    void loadFromFolder();
    // Loads one description file; name is set when the singer was listed.
    void loadSinger(const CString& descriptionPath, std::string& name);
    // Parses a description; null when it is not JSON or the gate refuses it.
    Singer* createSinger(const std::string& text, const std::string& folder);
    // The version gate: a singer for an accepted version (its lyric
    // dictionary loaded from folder when folder is given); else null, after a
    // message box for a version too old or too new.
    Singer* checkSingerVersion(const char* folder, Json::Value description);

private:
    std::list<ISinger*> singers_;
};

// The one singer list, built empty on first use.
SingerMgr* getSingerList();

// Empty when no singer is installed; else the settings' singer name when not
// empty, else the first installed singer's name.
std::string getDefaultSingerName();
