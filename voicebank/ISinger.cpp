#include "voicebank/ISinger.h"

std::string ISinger::getNamePrefix() const {
    size_t cut = name_.rfind('_');
    return cut == std::string::npos ? std::string() : name_.substr(0, cut);
}

std::string ISinger::getNameSuffix() const {
    size_t cut = name_.rfind('_');
    if (cut == std::string::npos || cut + 2 >= name_.size()) return std::string();
    return name_.substr(cut + 2);
}

void ISinger::toJson(Json::Value& out) const {
    out["version"] = version_;
    out["name"] = name_;
}

bool ISinger::fromJson(const Json::Value& in) {
    readJsonString(in, "version", version_);
    readJsonString(in, "name", name_);
    return !name_.empty();
}
