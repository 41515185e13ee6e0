#include "voicebank/Singer.h"

#include "voicebank/FolderSearch.h"

void Singer::loadLyricDict(const std::string& folder) {
    path_ = folder;
    hasLyricDict_ = false;
    if (std::string txt = findFirstFileEndingWith(folder, "-dict.txt"); !txt.empty()) {
        hasLyricDict_ = lyricDict_.loadTxt(CString::fromPathBytes(folder + txt));
    } else if (std::string json = findFirstFileEndingWith(folder, ".dict.txt"); !json.empty()) {
        hasLyricDict_ = lyricDict_.loadJson(CString::fromPathBytes(folder + json));
    }
}

void Singer::toJson(Json::Value& out) const {
    ISinger::toJson(out);
    out["path"] = path_;
}

bool Singer::fromJson(const Json::Value& in) {
    bool named = ISinger::fromJson(in);
    readJsonString(in, "path", path_);
    return named;
}
