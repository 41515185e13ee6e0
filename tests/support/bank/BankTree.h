#pragma once
// A temporary program folder for tests, unique to the process, with a
// "singers" folder of bank folders and their ".hvsd" descriptions. Removed
// with everything in it when the object goes.
#include <filesystem>
#include <string>

#include "support/ScratchDir.h"
#include "support/bank/WriterNames.h"
#include "tools/bankwriter/BankFolder.h"
#include "tools/bankwriter/BankWriter.h"

namespace testbank {

// The base path of the package in folder, as the readers take it.
inline std::string packageBasePath(const std::filesystem::path& folder) { return folder.string() + "/"; }

class BankTree {
public:
    // tag keeps the trees of different tests apart.
    explicit BankTree(const std::string& tag) : dir_("bank_" + tag) {
        std::filesystem::create_directories(singersFolder());
    }

    // The program folder; "singers" lies below it.
    std::filesystem::path root() const { return dir_.path(); }
    std::filesystem::path singersFolder() const { return root() / "singers"; }

    // Writes singers/<sub>/<fileName> holding text as it is (broken
    // descriptions too); returns the file's path.
    std::filesystem::path addRawDescription(const std::string& sub, const std::string& text,
                                            const std::string& fileName = "bank.hvsd") {
        const std::filesystem::path file = singersFolder() / sub / fileName;
        writeFile(file, text);
        return file;
    }
    // Creates singers/<sub>/ with a description; returns the folder.
    std::filesystem::path addBank(const std::string& sub, const std::string& version, const std::string& name) {
        return addRawDescription(sub, descriptionText(version, name)).parent_path();
    }

    // A bank folder with its description and its package beside it; returns
    // the folder.
    std::filesystem::path addPackage(const std::string& sub, const std::string& version, const std::string& name,
                                     const PackageFiles& files) {
        const std::filesystem::path folder = addBank(sub, version, name);
        writePackageFiles(folder, files);
        return folder;
    }

private:
    hvtest::ScratchDir dir_;
};

}  // namespace testbank
