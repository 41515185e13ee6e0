#include "voicebank/SingerMgr.h"

#include <memory>

#include "platform/ExeDir.h"
#include "platform/FileUtil.h"
#include "platform/JsonFile.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/TextConvert.h"
#include "shell/services/AppConfig.h"
#include "shell/services/LanguageMgr.h"
#include "voicebank/BankVersions.h"
#include "voicebank/FolderSearch.h"
#include "voicebank/Singer.h"
#include "voicebank/SingerSources.h"

namespace {
const char16_t* const kGateCaption = u"(\uFF1E\uFE4F\uFF1C)";
// A description names a bank in a few fields: far below a megabyte.
constexpr uint64_t kMaxDescriptionBytes = uint64_t{1} << 20;

// What keeps a parsed description from naming a singer: it must be an
// object whose "name" is a string that is not empty and whose "version",
// when present, is a string. "" when nothing does.
std::string descriptionDamage(const Json::Value& description) {
    if (!description.isObject()) return "not a JSON object";
    if (!description["name"].isString()) return "its \"name\" is not a string";
    if (description["name"].asString().empty()) return "its \"name\" is empty";
    if (description.isMember("version") && !description["version"].isString())
        return "its \"version\" is not a string";
    return std::string();
}

// A damaged description is skipped, and named with what is wrong with it.
void showDamagedDescription(const CString& path, const std::string& damage) {
    showMessageBox(path + u"\n" + CString::fromUtf8("This voice bank description cannot be used: " + damage),
                   CString(u"-_-!"), MbButtons::ok, MbIcon::warning);
}

void showVersionRefusal(const std::string& name, const std::string& version) {
    const char* message = isDeprecatedBankVersion(version) ? "Old voice bank is deprecated, please use new one"
                                                           : "New voice bank is not supported, please update editor";
    CString text;
    utf8ToCstr(name.c_str(), text);
    text += u" ";
    text += translate(message);
    showMessageBox(text, kGateCaption, MbButtons::ok, MbIcon::none);
}
}  // namespace

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

void SingerMgr::loadFromRegistry() {
    clearSingers();
    const Registry registry = loadMachineRegistry();
    const SingerKeys keys(registry);
    for (int i = 0; i < keys.countSingerKeys(); ++i) {
        std::string name;
        loadSinger(CString::fromPathBytes(keys.readSingerKeyPath(keys.getSingerKeyName(i))), name);
    }
}

void SingerMgr::loadFromFolder() {
    for (const std::string& subfolder : listSubfolders(getExeDir().toPathBytes() + "/singers/")) {
        const std::string folder = subfolder + "/";
        const std::string description = findFirstFileEndingWith(folder, ".hvsd");
        if (description.empty()) continue;
        std::string name;
        loadSinger(CString::fromPathBytes(folder + description), name);
    }
}

void SingerMgr::loadSinger(const CString& descriptionPath, std::string& name) {
    std::string folder;
    cstrToPathBytes(folderOfPath(descriptionPath), folder);
    std::string text;
    // A registered path that names no file is passed over.
    if (descriptionPath.isEmpty() || !isFileExist(descriptionPath)) return;
    Json::Value description;
    std::string damage;
    if (!readWholeFile(descriptionPath, text, kMaxDescriptionBytes))
        damage = "it cannot be read, or holds more than " + std::to_string(kMaxDescriptionBytes) + " bytes";
    else if (!parseJson(text, description))
        damage = "not readable JSON";
    else
        damage = descriptionDamage(description);
    if (!damage.empty()) {
        showDamagedDescription(descriptionPath, damage);
        return;
    }
    Singer* singer = checkSingerVersion(folder.c_str(), std::move(description));
    if (!singer) return;
    const std::string singerName = singer->getName();
    if (addSinger(singer)) name = singerName;
}

Singer* SingerMgr::createSinger(const std::string& text, const std::string& folder) {
    Json::Value description;
    if (!parseJson(text, description)) return nullptr;
    return checkSingerVersion(folder.c_str(), std::move(description));
}

Singer* SingerMgr::checkSingerVersion(const char* folder, Json::Value description) {
    if (!descriptionDamage(description).empty()) return nullptr;
    auto singer = std::make_unique<Singer>();
    if (!singer->fromJson(description)) return nullptr;
    if (!isAcceptedBankVersion(singer->getVersion())) {
        showVersionRefusal(singer->getName(), singer->getVersion());
        return nullptr;
    }
    if (folder) singer->loadLyricDict(folder);
    return singer.release();
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
