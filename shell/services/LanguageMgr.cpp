#include "shell/services/LanguageMgr.h"

#include "platform/ExeDir.h"
#include "platform/JsonFile.h"
#include "shell/services/AppConfig.h"

CLanguageMgr::CLanguageMgr() = default;

CString CLanguageMgr::translate(const std::string& key) const {
    // A text is shown up to its first NUL, so a translation that starts with
    // one is as missing as an empty one: the English text stays.
    if (auto it = selected_.find(key); it != selected_.end() && it->second.c_str()[0] != '\0')
        return CString::fromUtf8(it->second);
    const auto& builtin = builtinLanguageTable();
    if (auto it = builtin.find(key); it != builtin.end()) return CString::fromUtf8(it->second);
    return CString();
}

bool CLanguageMgr::loadLanguageFile(const CString& path) {
    selected_.clear();
    Json::Value value;
    if (!loadJsonFile(path, value) || !value.isObject()) return false;
    for (const std::string& key : value.getMemberNames())
        if (value[key].isString()) selected_[key] = value[key].asString();
    return true;
}

CLanguageMgr& getLanguageMgr() {
    static CLanguageMgr mgr = [] {
        CLanguageMgr m;
        const std::string& name = getAppConfig().language;
        if (!name.empty()) m.loadLanguageFile(getExeDir() + u"/language/" + CString::fromUtf8(name));
        return m;
    }();
    return mgr;
}
