#include "support/bank/BankTree.h"

#include <json/json.h>
#include <unistd.h>

#include <fstream>
#include <system_error>

namespace testbank {

namespace fs = std::filesystem;

std::string descriptionText(const std::string& version, const std::string& name) {
    Json::Value description(Json::objectValue);
    description["version"] = version;
    description["name"] = name;
    description["path"] = "";
    return description.toStyledString();
}

bool writeFile(const fs::path& path, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

BankTree::BankTree(const std::string& tag)
    : root_(fs::temp_directory_path() / ("hv_bank_" + tag + "_" + std::to_string(::getpid()))) {
    std::error_code ec;
    fs::remove_all(root_, ec);
    fs::create_directories(singersFolder(), ec);
}

BankTree::~BankTree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

fs::path BankTree::addBank(const std::string& sub, const std::string& version, const std::string& name,
                           const std::string& fileName) {
    return addRawDescription(sub, descriptionText(version, name), fileName).parent_path();
}

fs::path BankTree::addRawDescription(const std::string& sub, const std::string& text, const std::string& fileName) {
    const fs::path file = singersFolder() / sub / fileName;
    writeFile(file, text);
    return file;
}

}  // namespace testbank
