#pragma once
// The process-wide list of installed singers: at most 100, unique by name, in
// load order.
#include <list>
#include <string>
#include <vector>

#include "voicebank/ISinger.h"

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

private:
    std::list<ISinger*> singers_;
};

// The one singer list, built empty on first use.
SingerMgr* getSingerList();

// Empty when no singer is installed; else the settings' singer name when not
// empty, else the first installed singer's name.
std::string getDefaultSingerName();
