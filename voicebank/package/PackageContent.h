#pragma once
// The content parts of one voice package as its loaders read them: where
// each record must end, and the faults the loads met. A record ends before
// the next record its index places in the same part (the records of a
// package never overlap) and before its file's end, so a damaged length
// never reads more than the record's room. The first fault of each content
// file is written to the log once and kept, so that a damaged file is named
// once and not once per load. Loads may run on several threads at once.
#include <cstdint>
#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dsp/CMemoryBuffer.h"
#include "dsp/CMemoryStream.h"
#include "voicebank/package/UnitIndex.h"

namespace Halvoren {

class PackageContent {
public:
    // log must outlive the object.
    PackageContent(std::string basePath, std::ostream& log) : basePath_(std::move(basePath)), log_(&log) {}
    PackageContent(const PackageContent&) = delete;
    PackageContent& operator=(const PackageContent&) = delete;

    // Takes where the index's variants place their records.
    template <int Capacity>
    void setRecordStarts(const BasicUnitIndex<Capacity>& index)
    {
        starts_.clear();
        for (const auto& entry : index)
            for (const UnitVariant& v : entry.second.variants)
                starts_.emplace_back(v.part, v.offset);
        sortStarts();
    }

    // A new Record(unit, pitch) filled by parse(stream, record) from the
    // record at offset of the part; null, with its fault noted, when the
    // record cannot be read whole or holds fewer than minBytes bytes.
    template <class Record, class Parse>
    std::unique_ptr<Record> load(const std::string& unit, const std::string& pitch, std::int32_t offset,
                                 std::int32_t part, std::int32_t minBytes, Parse parse) const
    {
        CMemoryBuffer buffer;
        if (!read(offset, part, minBytes, buffer))
            return nullptr;
        CMemoryStream stream(&buffer);
        auto record = std::make_unique<Record>(unit, pitch);
        parse(stream, *record);
        return record;
    }

    // Notes what is wrong with the content part: the part's first fault
    // writes "fail to read package content file <path>: <fault>" to the log.
    void noteFault(std::int32_t part, const std::string& fault) const;
    // "<path>: <fault>" of the first fault noted, "" while there is none.
    std::string firstFault() const;

private:
    void sortStarts();
    // The start of the next record after offset in the part, INT64_MAX when
    // none follows it.
    std::int64_t recordEnd(std::int32_t part, std::int32_t offset) const;
    bool read(std::int32_t offset, std::int32_t part, std::int32_t minBytes, CMemoryBuffer& buffer) const;

    std::string basePath_;
    std::ostream* log_;
    std::vector<std::pair<std::int32_t, std::int32_t>> starts_;  // (part, offset), sorted, distinct
    mutable std::mutex lock_;
    mutable std::set<std::int32_t> faultedParts_;
    mutable std::string firstFault_;
};

}  // namespace Halvoren
