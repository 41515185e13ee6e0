#include "platform/Registry.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "platform/JsonFile.h"
#include "platform/StringUtil.h"

namespace {
std::string trimSeparators(const std::string& path) {
    size_t first = path.find_first_not_of('\\');
    if (first == std::string::npos) return std::string();
    size_t last = path.find_last_not_of('\\');
    return path.substr(first, last - first + 1);
}

std::string normalizedKey(const std::string& path) { return toLowerAscii(trimSeparators(path)); }

CString& registryFileOverride() {
    static CString file;
    return file;
}
}  // namespace

Registry Registry::load(const CString& file) {
    Registry registry;
    Json::Value root;
    if (!loadJsonFile(file, root) || !root.isObject()) return registry;
    for (const std::string& member : root.getMemberNames()) {
        const Json::Value& values = root[member];
        if (!values.isObject()) continue;
        Key& key = registry.keys_[normalizedKey(member)];
        key.path = trimSeparators(member);
        for (const std::string& name : values.getMemberNames())
            if (values[name].isString()) key.values[toLowerAscii(name)] = values[name].asString();
    }
    return registry;
}

bool Registry::hasKey(const std::string& key) const {
    const std::string wanted = normalizedKey(key);
    if (keys_.count(wanted)) return true;
    const std::string prefix = wanted + "\\";
    auto it = keys_.lower_bound(prefix);
    return it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> Registry::getSubkeyNames(const std::string& key) const {
    const std::string parent = normalizedKey(key);
    const std::string prefix = parent.empty() ? std::string() : parent + "\\";
    std::set<std::string> seen;  // lower-case names already taken
    std::vector<std::string> names;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
        if (it->first.compare(0, prefix.size(), prefix) != 0) break;
        const std::string& path = it->second.path;
        size_t end = path.find('\\', prefix.size());
        std::string name = path.substr(prefix.size(), end == std::string::npos ? std::string::npos : end - prefix.size());
        if (name.empty() || !seen.insert(toLowerAscii(name)).second) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return toLowerAscii(a) < toLowerAscii(b); });
    return names;
}

bool Registry::readString(const std::string& key, const std::string& valueName, std::string& out) const {
    auto k = keys_.find(normalizedKey(key));
    if (k == keys_.end()) return false;
    auto v = k->second.values.find(toLowerAscii(valueName));
    if (v == k->second.values.end()) return false;
    out = v->second;
    return true;
}

CString getRegistryFile() {
    if (!registryFileOverride().isEmpty()) return registryFileOverride();
    std::string folder;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::string(home) + "/.config";
    } else {
        return CString();
    }
    if (folder.back() != '/') folder += '/';
    return CString::fromPathBytes(folder + "halvoren/registry.json");
}

void setRegistryFileOverride(const CString& file) { registryFileOverride() = file; }

Registry loadMachineRegistry() { return Registry::load(getRegistryFile()); }
