#pragma once
// The voice package of banks "6.0" and "6.1": the index is read once at
// construction, records are loaded on demand and belong to the caller.
// Read-only after construction; each load opens its own file, so lookups and
// loads may run on any thread.
#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "voicebank/package/IndexHeader.h"
#include "voicebank/package/PackageContent.h"
#include "voicebank/package/UnitIndex.h"
#include "voicebank/v6/SourceRecords.h"

namespace HalvorenEngineV6 {

// The pitch variants of one unit: up to 128, later ones dropped.
using UnitIndexEntryV6 = Halvoren::BasicUnitIndexEntry<128>;

// The bank-wide block of the index, as stored. Values an index does not
// hold whole stay 0 (the strings and lists empty).
struct SrcStoreParameters {
    Halvoren::IndexHeader header;
    std::string strings[3];  // the third is the bank's phoneme table
    bool hasExt1 = false;    // set once the timbre block is read
    std::vector<Halvoren::TimbreEntry> timbreTable;
    std::int32_t timbreTimes[3] = {};
    float tailFloats[3] = {};
    std::int32_t tailInt1 = 0;
    std::vector<float> tailFloatList;
    std::int32_t tailInt2 = 0;
};

class SourceStorePackager : private SrcStoreParameters {
public:
    // Reads basePath + "HVI". A file that cannot be read, or is damaged,
    // writes "fail to read package index file", the path and what is wrong
    // to log (which must outlive the packager) and keeps what was read whole.
    explicit SourceStorePackager(std::string basePath, std::ostream& log = std::cerr);
    virtual ~SourceStorePackager() = default;
    SourceStorePackager(const SourceStorePackager&) = delete;
    SourceStorePackager& operator=(const SourceStorePackager&) = delete;

    // The canonical pitch name of the unit's variant nearest pitch (on an
    // equal distance the one below), with its offset and part; "" with the
    // outputs untouched for an unknown unit.
    std::string findRecordKey(const std::string& unit, const std::string& pitch, std::int32_t& offset,
                              std::int32_t& part) const;

    // True when the format lies above 6.minor: a later major, or major 6
    // with a greater minor.
    bool isFormatAbove(std::int32_t minor) const;

    // The canonical pitch name of variant i, "" when i is not below count.
    static std::string variantPitchName(const UnitIndexEntryV6& entry, int i);

    // Each gives null, with "fail to read package content file", the path
    // and what is wrong (once a run per content file), when the record
    // cannot be read whole or is shorter than its values; or with "fail to
    // read package index file" when the entry points inside another record.
    std::unique_ptr<VoiceSrc> loadVoiceSrc(const std::string& unit, const std::string& pitch, std::int32_t offset,
                                           std::int32_t part) const;
    std::unique_ptr<SrcParameter> loadSrcParameter(const std::string& unit, const std::string& pitch,
                                                   std::int32_t offset, std::int32_t part) const;
    std::unique_ptr<ContinuantSrc> loadContinuantSrc(const std::string& unit, const std::string& pitch,
                                                     std::int32_t offset, std::int32_t part) const;
    std::unique_ptr<SrcContinuantParameter> loadSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch,
                                                                       std::int32_t offset, std::int32_t part) const;

    const Halvoren::IndexHeader& getHeader() const { return header; }
    const std::string& getHeaderString(int i) const { return strings[i]; }
    bool getHasExt1() const { return hasExt1; }
    const std::vector<Halvoren::TimbreEntry>& getTimbreTable() const { return timbreTable; }
    const std::int32_t* getTimbreTimes() const { return timbreTimes; }
    const float* getTailFloats() const { return tailFloats; }
    std::int32_t getTailInt1() const { return tailInt1; }
    const std::vector<float>& getTailFloatList() const { return tailFloatList; }
    std::int32_t getTailInt2() const { return tailInt2; }
    const std::string& getBasePath() const { return basePath_; }
    const std::map<std::string, UnitIndexEntryV6>& getUnitIndex() const { return unitIndex_; }
    std::int32_t getFormatMajor() const { return formatMajor_; }
    std::int32_t getFormatMinor() const { return formatMinor_; }
    // What is wrong with the index file, "" when it was read whole (the
    // message of a fault is already out).
    const std::string& indexFault() const { return indexFault_; }
    // "<content file>: <what is wrong>" of the first record that could not
    // be read ("<index file>: <what is wrong>" when its entry pointed inside
    // another record), "" while every load has read its record whole.
    std::string contentFault() const { return content_.firstFault(); }

private:
    std::string basePath_;
    std::map<std::string, UnitIndexEntryV6> unitIndex_;
    std::int32_t formatMajor_ = 0;
    std::int32_t formatMinor_ = 0;
    std::string indexFault_;
    Halvoren::PackageContent content_;
};

}  // namespace HalvorenEngineV6
