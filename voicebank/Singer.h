#pragma once
// A voice bank found on this machine: its description plus the bank folder
// that prefixes its package files and the lyric dictionary found there.
#include <string>

#include "lyrics/SingerLyricDict.h"
#include "voicebank/ISinger.h"

class Singer : public ISinger {
public:
    // The bank folder, ending in a separator ("" when the description lay in
    // the current folder): index file = path + "HVI", content = path + "HVC".
    std::string getPath() const { return path_; }
    bool hasLyricDict() override { return hasLyricDict_; }
    // Never null; empty when no dictionary was found.
    ILyricDict* getLyricDict() override { return &lyricDict_; }

    // Takes folder as the bank folder and loads the first "*-dict.txt" in it
    // as a text dictionary, else the first "*.dict.txt" as a JSON one.
    void loadLyricDict(const std::string& folder);

    // "version", "name" and "path".
    void toJson(Json::Value& out) const override;
    bool fromJson(const Json::Value& in) override;

private:
    bool hasLyricDict_ = false;
    CSingerLyricDict lyricDict_;
    std::string path_;
};
