#pragma once
// The voice package of banks "3.1" to "3.5": the index is read at
// construction, records are loaded on demand and belong to the caller.
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>

#include "voicebank/package/IndexedPackage.h"
#include "voicebank/v3/SourceRecords.h"

namespace HalvorenEngineV3 {

class SourceStorePackager : public Halvoren::IndexedPackage {
public:
    explicit SourceStorePackager(std::string basePath, std::ostream& log = std::cout);

    // Each gives null, with "fail to read package content file" and the path,
    // when the record cannot be reached or is shorter than its values.
    std::unique_ptr<VoiceSrc> loadVoiceSrc(const std::string& unit, const std::string& pitch, std::int32_t offset,
                                           std::int32_t part) const;
    std::unique_ptr<SrcParameter> loadSrcParameter(const std::string& unit, const std::string& pitch,
                                                   std::int32_t offset, std::int32_t part) const;
    std::unique_ptr<ContinuantSrc> loadContinuantSrc(const std::string& unit, const std::string& pitch,
                                                     std::int32_t offset, std::int32_t part) const;
    std::unique_ptr<SrcContinuantParameter> loadSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch,
                                                                       std::int32_t offset, std::int32_t part) const;
};

}  // namespace HalvorenEngineV3
