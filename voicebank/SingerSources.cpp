#include "voicebank/SingerSources.h"

#include "platform/FileUtil.h"

namespace {
const char* const kSingersKey = "SOFTWARE\\HalvorenLib\\Singers\\";
}  // namespace

SingerKeys::SingerKeys(const Registry& registry)
    : registry_(registry), names_(registry.getSubkeyNames(kSingersKey)) {}

int SingerKeys::countSingerKeys() const { return static_cast<int>(names_.size()); }

std::string SingerKeys::getSingerKeyName(int i) const {
    return i >= 0 && i < countSingerKeys() ? names_[static_cast<size_t>(i)] : std::string();
}

std::string SingerKeys::readSingerKeyPath(const std::string& keyName) const {
    std::string path;
    if (keyName.empty() || !registry_.readString(kSingersKey + keyName, "path", path)) return std::string();
    return path;
}

std::vector<std::string> listSubfolders(const std::string& folder) {
    std::vector<std::string> paths;
    for (const std::string& name : listFolder(CString::fromPathBytes(folder), true)) paths.push_back(folder + name);
    return paths;
}
