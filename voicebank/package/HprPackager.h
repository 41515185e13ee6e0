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
        this->content().setEntries(index().unitIndex, {[](RecordParse& reading) {
                                                           VoiceSrc voice("", "");
                                                           readVoice(reading, voice);
                                                       },
                                                       [](RecordParse& reading) {
                                                           ContinuantSrc continuant("", "");
                                                           readContinuant(reading, continuant);
                                                       }});
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
    // and what is wrong (once a run per content file), when the record
    // cannot be read whole or is shorter than its values; or with "fail to
    // read package index file" when the entry points inside another record.
    // The material's hop is the voice's param11 or the continuant's hop.
    std::unique_ptr<VoiceSrc> loadVoiceSrc(std::int32_t offset, const std::string& unit,
                                           const std::string& pitch) const
    {
        return load<VoiceSrc>(unit, pitch, offset, 0, Layout::kVoiceValueBytes, readVoice);
    }
    std::unique_ptr<ContinuantSrc> loadContinuantSrc(std::int32_t offset, const std::string& unit,
                                                     const std::string& pitch) const
    {
        return load<ContinuantSrc>(unit, pitch, offset, 0, kContinuantValueBytes, readContinuant);
    }

private:
    static void readMaterial(RecordParse& reading, std::int32_t hop, SrcMaterial& material)
    {
        if (!readHprMaterial(reading.part("material"), Layout::kPeakFrames, hop, material))
            reading.buildsTooMuch();
    }
    static void readVoice(RecordParse& reading, VoiceSrc& voice)
    {
        Layout::readValues(reading.part("values"), voice);
        voice.material = std::make_unique<SrcMaterial>(voice.name, voice.pitch);
        readMaterial(reading, voice.param11, *voice.material);
    }
    static void readContinuant(RecordParse& reading, ContinuantSrc& continuant)
    {
        CMemoryStream& values = reading.part("values");
        values.readInt32(continuant.param1);
        values.readInt32(continuant.param2);
        values.readInt32(continuant.hop);
        continuant.material = std::make_unique<SrcMaterial>(continuant.name, continuant.pitch);
        readMaterial(reading, continuant.hop, *continuant.material);
    }
};

}  // namespace Halvoren
