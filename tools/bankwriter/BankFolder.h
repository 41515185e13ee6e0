#pragma once
// A bank's files on disk: the ".hvsd" description of a singer and the
// package files beside it.
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/bankwriter/BankWriter.h"

namespace bankwriter {

// The text of a description: {"version": ..., "name": ..., "path": ""}.
inline std::string descriptionText(const std::string& version, const std::string& name) {
    Json::Value description(Json::objectValue);
    description["version"] = version;
    description["name"] = name;
    description["path"] = "";
    return description.toStyledString();
}

// Writes bytes to path, creating the folders on the way.
inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Writes "HVI" and every content part ("HVC", "HVC_<n>") into folder.
inline void writePackageFiles(const std::filesystem::path& folder, const PackageFiles& files) {
    writeFile(folder / "HVI", files.index);
    for (const auto& [part, bytes] : files.parts)
        writeFile(folder / (part > 0 ? "HVC_" + std::to_string(part) : std::string("HVC")), bytes);
}

}  // namespace bankwriter
