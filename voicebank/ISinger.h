#pragma once
// An installed voice bank as the editor sees it: its name, the engine version
// string it declares and its own lyric dictionary.
#include <string>

#include "shell/services/JsonInfo.h"

class ILyricDict;

class ISinger : public JsonInfo {
public:
    std::string getVersion() const { return version_; }
    std::string getName() const { return name_; }
    // The name up to its last "_"; empty when it has none.
    std::string getNamePrefix() const;
    // The name after its last "_" and the one character following it
    // ("ab_cde" gives "de"); empty when it has no "_" or nothing is left.
    std::string getNameSuffix() const;

    virtual bool hasLyricDict() = 0;
    virtual ILyricDict* getLyricDict() = 0;

    void toJson(Json::Value& out) const override;
    // Reads "version" and "name"; true when the name read is not empty.
    bool fromJson(const Json::Value& in) override;

protected:
    std::string version_;
    std::string name_;
};
