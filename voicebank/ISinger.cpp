#include "voicebank/ISinger.h"

void ISinger::toJson(Json::Value& out) const {
    out["version"] = version_;
    out["name"] = name_;
}

bool ISinger::fromJson(const Json::Value& in) {
    readJsonString(in, "version", version_);
    readJsonString(in, "name", name_);
    return !name_.empty();
}
