#pragma once
// What the third- and fourth-generation packagers share: the bank's base
// path, its index read once at construction, the nearest-variant lookup and
// the loading of one record per request. Read-only after construction; each
// load opens its own file, so lookups and loads may run on any thread.
#include <cstdint>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "voicebank/package/PackageContent.h"
#include "voicebank/package/PackageIndex.h"

namespace Halvoren {

class IndexedPackage {
public:
    // Reads basePath + "HVI". Failures are written to log, which must outlive
    // the package.
    IndexedPackage(std::string basePath, const IndexFormat& format, std::ostream& log);
    virtual ~IndexedPackage() = default;
    IndexedPackage(const IndexedPackage&) = delete;
    IndexedPackage& operator=(const IndexedPackage&) = delete;

    // The canonical pitch name of the unit's variant nearest pitch, with its
    // offset and part; "" with the outputs untouched for an unknown unit.
    std::string findRecordKey(const std::string& unit, const std::string& pitch, std::int32_t& offset,
                              std::int32_t& part) const;

    const std::string& basePath() const { return basePath_; }
    const PackageIndex& index() const { return index_; }
    const IndexHeader& header() const { return index_.header; }
    bool hasExt1() const { return index_.hasExt1; }
    bool hasExt2() const { return index_.hasExt2; }
    // What is wrong with the index file, "" when it was read whole (the
    // message of a fault is already out).
    const std::string& indexFault() const { return indexFault_; }
    // "<content file>: <what is wrong>" of the first record that could not
    // be read ("<index file>: <what is wrong>" when its entry pointed inside
    // another record), "" while every load has read its record whole.
    std::string contentFault() const { return content_.firstFault(); }

protected:
    // PackageContent::load in this package's content.
    template <class Record, class Parse>
    std::unique_ptr<Record> load(const std::string& unit, const std::string& pitch, std::int32_t offset,
                                 std::int32_t part, std::int32_t minBytes, Parse parse) const
    {
        return content_.load<Record>(unit, pitch, offset, part, minBytes, parse);
    }
    const PackageContent& content() const { return content_; }
    // For the packager's constructor, which gives the content its entries.
    PackageContent& content() { return content_; }

private:
    std::string basePath_;
    PackageIndex index_;
    NearestTie tie_;
    std::string indexFault_;
    PackageContent content_;
};

}  // namespace Halvoren
