#pragma once
// A temporary program folder for tests, unique to the process, with a
// "singers" folder of bank folders and their ".hvsd" descriptions. Removed
// with everything in it when the object goes.
#include <filesystem>
#include <string>

namespace testbank {

// The text of a description: {"version": ..., "name": ..., "path": ""}.
std::string descriptionText(const std::string& version, const std::string& name);

// Writes bytes to path, creating the folders on the way; false on failure.
bool writeFile(const std::filesystem::path& path, const std::string& bytes);

class BankTree {
public:
    // tag keeps the trees of different tests apart.
    explicit BankTree(const std::string& tag);
    ~BankTree();
    BankTree(const BankTree&) = delete;
    BankTree& operator=(const BankTree&) = delete;

    // The program folder; "singers" lies below it.
    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path singersFolder() const { return root_ / "singers"; }

    // Creates singers/<sub>/ with a description file; returns the folder.
    std::filesystem::path addBank(const std::string& sub, const std::string& version, const std::string& name,
                                  const std::string& fileName = "bank.hvsd");
    // Creates singers/<sub>/<fileName> holding text as it is (broken
    // descriptions); returns the file's path.
    std::filesystem::path addRawDescription(const std::string& sub, const std::string& text,
                                            const std::string& fileName = "bank.hvsd");

private:
    std::filesystem::path root_;
};

}  // namespace testbank
