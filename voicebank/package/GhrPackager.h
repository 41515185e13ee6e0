#pragma once
// The packager of the generations whose records carry a stored band model
// (third and fourth): the loaders of the four record kinds, written once
// over a generation's layout. Layout gives the record types, the index
// format, the byte size of each kind's values and readValues for the two
// parameter parts.
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>

#include "voicebank/package/GhrMaterialRead.h"
#include "voicebank/package/IndexedPackage.h"
#include "voicebank/package/SourceRecordShapes.h"

namespace Halvoren {

template <class Layout>
class GhrPackager : public IndexedPackage {
public:
    using SrcParameter = typename Layout::SrcParameter;
    using SrcContinuantParameter = typename Layout::SrcContinuantParameter;
    using SrcMaterial = typename Layout::SrcMaterial;
    using VoiceSrc = WithMaterial<SrcParameter, SrcMaterial>;
    using ContinuantSrc = WithMaterial<SrcContinuantParameter, SrcMaterial>;

    explicit GhrPackager(std::string basePath, std::ostream& log = std::cerr)
        : IndexedPackage(std::move(basePath), Layout::kIndexFormat, log)
    {
        this->content().setEntries(index().unitIndex,
                                   {[ext1 = hasExt1()](RecordParse& reading) {
                                        VoiceSrc voice("", "");
                                        readVoice(reading, voice, ext1);
                                    },
                                    [](RecordParse& reading) {
                                        ContinuantSrc continuant("", "");
                                        readContinuant(reading, continuant);
                                    }});
    }

    // Each gives null, with "fail to read package content file", the path
    // and what is wrong (once a run per content file), when the record
    // cannot be read whole or is shorter than its values; or with "fail to
    // read package index file" when the entry points inside another record.
    // A voice's material is followed by its phase table when the index
    // carries "ext1"; a continuant's never is.
    std::unique_ptr<VoiceSrc> loadVoiceSrc(const std::string& unit, const std::string& pitch, std::int32_t offset,
                                           std::int32_t part) const
    {
        return load<VoiceSrc>(unit, pitch, offset, part, Layout::kVoiceValueBytes,
                              [ext1 = hasExt1()](RecordParse& reading, VoiceSrc& voice) {
                                  readVoice(reading, voice, ext1);
                              });
    }
    std::unique_ptr<SrcParameter> loadSrcParameter(const std::string& unit, const std::string& pitch,
                                                   std::int32_t offset, std::int32_t part) const
    {
        return load<SrcParameter>(unit, pitch, offset, part, Layout::kVoiceValueBytes,
                                  [](RecordParse& reading, SrcParameter& p) {
                                      Layout::readValues(reading.part("values"), p);
                                  });
    }
    std::unique_ptr<ContinuantSrc> loadContinuantSrc(const std::string& unit, const std::string& pitch,
                                                     std::int32_t offset, std::int32_t part) const
    {
        return load<ContinuantSrc>(unit, pitch, offset, part, Layout::kContinuantValueBytes, readContinuant);
    }
    std::unique_ptr<SrcContinuantParameter> loadSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch,
                                                                       std::int32_t offset, std::int32_t part) const
    {
        return load<SrcContinuantParameter>(unit, pitch, offset, part, Layout::kContinuantValueBytes,
                                            [](RecordParse& reading, SrcContinuantParameter& p) {
                                                Layout::readValues(reading.part("values"), p);
                                            });
    }

private:
    static void readVoice(RecordParse& reading, VoiceSrc& voice, bool ext1)
    {
        Layout::readValues(reading.part("values"), voice);
        voice.material = std::make_unique<SrcMaterial>(voice.name, voice.pitch);
        readGhrMaterial(reading, *voice.material, ext1 ? &voice.material->ext1 : nullptr);
    }
    static void readContinuant(RecordParse& reading, ContinuantSrc& continuant)
    {
        Layout::readValues(reading.part("values"), continuant);
        continuant.material = std::make_unique<SrcMaterial>(continuant.name, continuant.pitch);
        readGhrMaterial(reading, *continuant.material, nullptr);
    }
};

}  // namespace Halvoren
