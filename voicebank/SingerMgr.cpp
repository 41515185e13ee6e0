#include "voicebank/SingerMgr.h"

#include "shell/services/AppConfig.h"

ISinger* SingerMgr::findSinger(const std::string& name) const {
    for (ISinger* singer : singers_)
        if (singer->getName() == name) return singer;
    return nullptr;
}

std::vector<std::string> SingerMgr::getSingerNames() const {
    std::vector<std::string> names;
    for (ISinger* singer : singers_) names.push_back(singer->getName());
    return names;
}

bool SingerMgr::addSinger(ISinger* singer) {
    const std::string name = singer->getName();
    for (auto it = singers_.begin(); it != singers_.end(); ++it) {
        if ((*it)->getName() == name) {
            delete *it;
            singers_.erase(it);
            break;
        }
    }
    if (singers_.size() >= kMaxSingers) {
        delete singer;
        return false;
    }
    singers_.push_back(singer);
    return true;
}

void SingerMgr::clearSingers() {
    for (ISinger* singer : singers_) delete singer;
    singers_.clear();
}

SingerMgr* getSingerList() {
    static SingerMgr list;
    return &list;
}

std::string getDefaultSingerName() {
    SingerMgr* list = getSingerList();
    std::vector<std::string> names = list->getSingerNames();
    if (names.empty()) return std::string();
    const std::string& configured = getAppConfig().singerName;
    if (!configured.empty()) return configured;
    return names.front();
}
