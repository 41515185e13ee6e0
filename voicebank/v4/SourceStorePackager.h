#pragma once
// The voice package of banks "4.0" to "4.03": the index is read at
// construction (with the optional "ext3" and "ext4" blocks of this
// generation), records are loaded on demand and belong to the caller.
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>

#include "voicebank/package/IndexedPackage.h"
#include "voicebank/v4/SourceRecords.h"

namespace HalvorenEngineV4 {

class SourceStorePackager : public Halvoren::IndexedPackage {
public:
    explicit SourceStorePackager(std::string basePath, std::ostream& log = std::cout);

    bool hasExt3() const { return index().hasExt3; }
    bool hasExt4() const { return index().hasExt4; }
    // 0.5, 1.2, -20.0 when the index holds no "ext3" block.
    const float* ext3Values() const { return index().ext3Values; }

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

}  // namespace HalvorenEngineV4
