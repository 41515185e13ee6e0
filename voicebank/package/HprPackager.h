#pragma once
// The packager of the first two generations, whose records carry a
// harmonic-plus-residual material: the plain index read at construction,
// the nearest-variant lookup (the earlier variant wins a tie) and the
// loaders of voice and continuant sources, written once over a
// generation's layout. Layout gives the record types, the index format, the
// peak-frame shape, the voice values' byte size and readValues for the two
// parameter parts.
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>

#include "voicebank/package/ContentRecord.h"
#include "voicebank/package/HprMaterialRead.h"
#include "voicebank/package/IndexedPackage.h"
#include "voicebank/package/SourceRecordShapes.h"
#include "voicebank/package/VoiceValuesRead.h"

namespace Halvoren {

template <class Layout>
class HprPackager : public IndexedPackage {
public:
    using SrcParameter = typename Layout::SrcParameter;
    using SrcContinuantParameter = typename Layout::SrcContinuantParameter;
    using SrcMaterial = typename Layout::SrcMaterial;
    using VoiceSrc = WithMaterial<SrcParameter, SrcMaterial>;
    using ContinuantSrc = WithMaterial<SrcContinuantParameter, SrcMaterial>;
    static constexpr std::int32_t kContinuantValueBytes = 3 * 4;

    // Reads basePath + "HVI"; says at once when basePath + "HVC" cannot be
    // opened or is no regular file (every load then gives null).
    explicit HprPackager(std::string basePath, std::ostream& log = std::cerr)
        : IndexedPackage(std::move(basePath), Layout::kIndexFormat, log)
    {
        if (const std::string problem = contentPartProblem(this->basePath(), 0); !problem.empty())
            this->content().noteFault(0, problem);
    }

    // The canonical pitch name of the unit's variant nearest pitch, with its
    // offset; "" with offset untouched for an unknown unit.
    std::string findRecordKey(const std::string& unit, const std::string& pitch, std::int32_t& offset) const
    {
        std::int32_t part = 0;
        return IndexedPackage::findRecordKey(unit, pitch, offset, part);
    }

    // Each gives null, with "fail to read package content file", the path
    // and what is wrong (once per content file), when the record cannot be
    // read whole or is shorter than its values. The material's hop is the
    // voice's param11 or the continuant's hop.
    std::unique_ptr<VoiceSrc> loadVoiceSrc(std::int32_t offset, const std::string& unit,
                                           const std::string& pitch) const
    {
        return load<VoiceSrc>(unit, pitch, offset, 0, Layout::kVoiceValueBytes, [&](CMemoryStream& s, VoiceSrc& v) {
            Layout::readValues(s, v);
            v.material = std::make_unique<SrcMaterial>(unit, pitch);
            readHprMaterial(s, Layout::kPeakFrames, v.param11, *v.material);
        });
    }
    std::unique_ptr<ContinuantSrc> loadContinuantSrc(std::int32_t offset, const std::string& unit,
                                                     const std::string& pitch) const
    {
        return load<ContinuantSrc>(unit, pitch, offset, 0, kContinuantValueBytes,
                                   [&](CMemoryStream& s, ContinuantSrc& c) {
                                       s.readInt32(c.param1);
                                       s.readInt32(c.param2);
                                       s.readInt32(c.hop);
                                       c.material = std::make_unique<SrcMaterial>(unit, pitch);
                                       readHprMaterial(s, Layout::kPeakFrames, c.hop, *c.material);
                                   });
    }
};

}  // namespace Halvoren
