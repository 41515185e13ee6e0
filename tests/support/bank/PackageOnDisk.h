#pragma once
// A package written into a scratch bank folder and read back with a log the
// test can inspect.
#include <memory>
#include <sstream>
#include <string>

#include "support/bank/BankTree.h"

namespace testbank {

// How many "fail to read package ..." messages the log holds.
inline int packageMessages(const std::string& log)
{
    int n = 0;
    for (std::size_t at = log.find("fail to read package"); at != std::string::npos;
         at = log.find("fail to read package", at + 1))
        ++n;
    return n;
}

template <class Packager>
struct PackageOnDisk {
    explicit PackageOnDisk(const std::string& tag) : tree(tag), folder(tree.addBank("b", "3.1", "B")) {}

    const Packager& open(const testbank::PackageFiles& files)
    {
        testbank::writePackageFiles(folder, files);
        return reopen();
    }
    const Packager& openIndex(const std::string& indexBytes)
    {
        testbank::writeFile(folder / "HVI", indexBytes);
        return reopen();
    }
    const Packager& reopen()
    {
        log.str("");
        package = std::make_unique<Packager>(testbank::packageBasePath(folder), log);
        return *package;
    }

    testbank::BankTree tree;
    std::filesystem::path folder;
    std::ostringstream log;
    std::unique_ptr<Packager> package;
};

}  // namespace testbank
