#pragma once
// The content parts of one voice package as its loaders read them, and the
// faults the loads met. A record is bounded by its own length and its
// file's end, never by where other entries point: one record may lie in
// another's unread tail. A load that cannot read its record whole is either
// the fault of its index entry, when the entry points inside the bytes of
// another entry's record that reads whole, or the fault of the record.
// A fault is written to the log once a run for each file (the content part,
// or the index for an entry) and the first fault of the package is kept.
// Loads may run on several threads at once.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "voicebank/package/ContentRecord.h"
#include "voicebank/package/UnitIndex.h"

namespace Halvoren {

class PackageContent {
public:
    // A parse of one record kind the package holds (a voice, a continuant),
    // into a record of its own.
    using RecordKind = std::function<void(RecordParse&)>;

    // log must outlive the object.
    PackageContent(std::string basePath, std::ostream& log) : basePath_(std::move(basePath)), log_(&log) {}
    PackageContent(const PackageContent&) = delete;
    PackageContent& operator=(const PackageContent&) = delete;

    // Takes where the index's variants place their records, and the kinds
    // a record of the package may be read as. Before any load.
    template <int Capacity>
    void setEntries(const BasicUnitIndex<Capacity>& index, std::vector<RecordKind> kinds)
    {
        starts_.clear();
        for (const auto& entry : index)
            for (const UnitVariant& v : entry.second.variants)
                starts_.emplace_back(v.part, v.offset);
        sortStarts();
        kinds_ = std::move(kinds);
    }

    // A new Record(unit, pitch) filled by parse(reading, record) from the
    // record at offset of the part; null, with its fault noted, when the
    // record cannot be read whole (ContentRecord.h) or holds fewer than
    // minBytes bytes. A record that another of the kinds reads whole, to its
    // last byte, is a whole record of that kind: asked for as a kind it is
    // not (a continuant under a voice's name), it is given as parse read it,
    // without a fault, as such a load has always read.
    template <class Record, class Parse>
    std::unique_ptr<Record> load(const std::string& unit, const std::string& pitch, std::int32_t offset,
                                 std::int32_t part, std::int32_t minBytes, Parse parse) const
    {
        auto record = std::make_unique<Record>(unit, pitch);
        const RecordRead read = readContentRecord(basePath_, offset, part, minBytes,
                                                  [&](RecordParse& reading) { parse(reading, *record); });
        if (read.fault.empty() || (read.parsed && wholeExtent(part, offset) == 4 + std::int64_t(read.length)))
            return record;
        noteLoadFault(unit, pitch, offset, part, read.fault);
        return nullptr;
    }

    // Notes what is wrong with the content part: "fail to read package
    // content file <path>: <fault>", said once a run for the file.
    void noteFault(std::int32_t part, const std::string& fault) const;
    // "<path>: <fault>" of the first fault noted, "" while there is none.
    std::string firstFault() const;

private:
    void sortStarts();
    // Names the unit's entry when it points inside another entry's record
    // that reads whole, else the record.
    void noteLoadFault(const std::string& unit, const std::string& pitch, std::int32_t offset, std::int32_t part,
                       const std::string& fault) const;
    // The start of the record that another entry places before offset in the
    // part, that reads whole and whose bytes read hold offset; -1 for none.
    std::int64_t holderOf(std::int32_t part, std::int32_t offset) const;
    // How far the record at start reads whole as one of the kinds (the
    // farthest), from its length word on; 0 when it reads whole as none.
    std::int64_t wholeExtent(std::int32_t part, std::int32_t start) const;
    void say(const std::string& file, const std::string& line, const std::string& fault) const;

    std::string basePath_;
    std::ostream* log_;
    std::vector<std::pair<std::int32_t, std::int32_t>> starts_;  // (part, offset), sorted, distinct
    std::vector<RecordKind> kinds_;
    mutable std::mutex lock_;
    mutable std::map<std::pair<std::int32_t, std::int32_t>, std::int64_t> extents_;  // wholeExtent, once each
    mutable std::string firstFault_;
};

}  // namespace Halvoren
