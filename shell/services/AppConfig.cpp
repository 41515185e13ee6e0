#include "shell/services/AppConfig.h"

#include <algorithm>
#include <cstdio>

#include "platform/ExeDir.h"
#include "platform/FileUtil.h"
#include "platform/JsonFile.h"

namespace {
void nodesToJson(const std::vector<std::pair<int, int>>& nodes, Json::Value& out) {
    out = Json::Value(Json::arrayValue);
    for (const auto& [pos, value] : nodes) {
        Json::Value node(Json::arrayValue);
        node.append(pos);
        node.append(value);
        out.append(node);
    }
}

// Keeps the old nodes unless every entry is a pair of integers.
void nodesFromJson(const Json::Value& in, std::vector<std::pair<int, int>>& nodes) {
    if (!in.isArray()) return;
    std::vector<std::pair<int, int>> read;
    for (const Json::Value& node : in) {
        if (!node.isArray() || node.size() != 2 || !node[0].isInt() || !node[1].isInt()) return;
        read.emplace_back(node[0].asInt(), node[1].asInt());
    }
    nodes = std::move(read);
}
}  // namespace

void CAppConfigModel::toJson(Json::Value& out) const {
    out["isAutoVib"] = isAutoVib;
    out["vibPercent"] = vibPercent;
    out["autoVibBeats"] = autoVibBeats;
    nodesToJson(vibPreins.vibAmp, out["vibPreins"]["vibAmp"]);
    nodesToJson(vibPreins.vibFreq, out["vibPreins"]["vibFreq"]);
    out["expBendDep"] = expBendDep;
    out["expBendLen"] = expBendLen;
    out["expHeadChg"] = expHeadChg;
    out["expTailChg"] = expTailChg;
    out["defaultSymbol"] = defaultSymbol;
    out["singerName"] = singerName;
    out["language"] = language;
}

bool CAppConfigModel::fromJson(const Json::Value& in) {
    if (!in.isObject()) return false;
    readJsonBool(in, "isAutoVib", isAutoVib);
    readJsonInt(in, "vibPercent", vibPercent);
    readJsonInt(in, "autoVibBeats", autoVibBeats);
    if (in.isMember("vibPreins") && in["vibPreins"].isObject()) {
        nodesFromJson(in["vibPreins"]["vibAmp"], vibPreins.vibAmp);
        nodesFromJson(in["vibPreins"]["vibFreq"], vibPreins.vibFreq);
    }
    readJsonInt(in, "expBendDep", expBendDep);
    readJsonInt(in, "expBendLen", expBendLen);
    readJsonInt(in, "expHeadChg", expHeadChg);
    readJsonInt(in, "expTailChg", expTailChg);
    readJsonString(in, "defaultSymbol", defaultSymbol);
    readJsonString(in, "singerName", singerName);
    readJsonString(in, "language", language);
    keepEditableRanges();
    return true;
}

void CAppConfigModel::keepEditableRanges() {
    vibPercent = std::clamp(vibPercent, 0, 100);
    autoVibBeats = std::max(autoVibBeats, 1);
    expBendDep = std::clamp(expBendDep, 0, 100);
    expBendLen = std::clamp(expBendLen, 0, 100);
    expHeadChg = std::clamp(expHeadChg, 0, 100);
    expTailChg = std::clamp(expTailChg, 0, 100);
    // The name is joined to the language folder: a separator or a dot name
    // would reach outside it, a NUL would cut the path short.
    if (language == "." || language == ".." || language.find_first_of(std::string("/\\\0", 3)) != std::string::npos)
        language.clear();
}

CString getAppConfigPath() { return getExeDir() + u"/config/app.cfg"; }

namespace {
CAppConfigModel& configObject() {
    static CAppConfigModel config;
    return config;
}
}  // namespace

void initAppConfig() {
    CAppConfigModel& config = configObject();
    config = CAppConfigModel();
    Json::Value value;
    if (loadJsonFile(getAppConfigPath(), value)) config.fromJson(value);
}

CAppConfigModel& getAppConfig() {
    static bool loaded = (initAppConfig(), true);
    (void)loaded;
    return configObject();
}

bool saveAppConfig() {
    CString path = getAppConfigPath();
    makeDirectories(folderOfPath(path));
    std::string text = getAppConfig().toString();
    FILE* f = openFile(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}
