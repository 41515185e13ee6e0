#pragma once
// An installed voice bank as the editor sees it.
#include <string>

#include "shell/services/JsonInfo.h"

class ILyricDict;

class ISinger : public JsonInfo {
public:
    std::string getVersion() const { return version_; }
    std::string getName() const { return name_; }
    virtual bool hasLyricDict() = 0;
    virtual ILyricDict* getLyricDict() = 0;

    void toJson(Json::Value& out) const override;
    // Reads "version" and "name"; true when the name read is not empty.
    bool fromJson(const Json::Value& in) override;

protected:
    std::string version_;
    std::string name_;
};
