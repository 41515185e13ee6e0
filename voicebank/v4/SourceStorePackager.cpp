#include "voicebank/v4/SourceStorePackager.h"

#include "voicebank/package/GhrMaterialRead.h"

namespace HalvorenEngineV4 {

using Halvoren::CMemoryStream;

namespace {

constexpr std::int32_t kVoiceValueBytes = 9 * 4;
constexpr std::int32_t kContinuantValueBytes = 4 * 4;

void readValues(CMemoryStream& s, SrcParameter& p)
{
    for (std::int32_t* v : {&p.v4Param1, &p.v4Param2, &p.v4Param3, &p.v4Param4, &p.v4Param5, &p.v4Param6,
                            &p.v4Param7, &p.v4Param8, &p.v4Param9})
        s.readInt32(*v);
}

// The fourth stored value fills the third field.
void readValues(CMemoryStream& s, SrcContinuantParameter& p)
{
    s.readInt32(p.v4ContParam1);
    s.readInt32(p.v4ContParam2);
    s.readInt32(p.v4ContParam4);
    s.readInt32(p.v4ContParam3);
}

}  // namespace

SourceStorePackager::SourceStorePackager(std::string basePath, std::ostream& log)
    : IndexedPackage(std::move(basePath), Halvoren::kIndexFormatV4, log)
{
}

std::unique_ptr<VoiceSrc> SourceStorePackager::loadVoiceSrc(const std::string& unit, const std::string& pitch,
                                                            std::int32_t offset, std::int32_t part) const
{
    return load<VoiceSrc>(unit, pitch, offset, part, kVoiceValueBytes, [&](CMemoryStream& s, VoiceSrc& voice) {
        readValues(s, voice);
        voice.material = std::make_unique<SrcMaterial>(unit, pitch);
        readGhrMaterial(s, *voice.material, hasExt1() ? &voice.material->ext1 : nullptr);
    });
}

std::unique_ptr<SrcParameter> SourceStorePackager::loadSrcParameter(const std::string& unit, const std::string& pitch,
                                                                    std::int32_t offset, std::int32_t part) const
{
    return load<SrcParameter>(unit, pitch, offset, part, kVoiceValueBytes,
                              [](CMemoryStream& s, SrcParameter& p) { readValues(s, p); });
}

std::unique_ptr<ContinuantSrc> SourceStorePackager::loadContinuantSrc(const std::string& unit,
                                                                      const std::string& pitch, std::int32_t offset,
                                                                      std::int32_t part) const
{
    return load<ContinuantSrc>(unit, pitch, offset, part, kContinuantValueBytes,
                               [&](CMemoryStream& s, ContinuantSrc& continuant) {
                                   readValues(s, continuant);
                                   continuant.material = std::make_unique<SrcMaterial>(unit, pitch);
                                   readGhrMaterial(s, *continuant.material, nullptr);
                               });
}

std::unique_ptr<SrcContinuantParameter> SourceStorePackager::loadSrcContinuantParameter(const std::string& unit,
                                                                                        const std::string& pitch,
                                                                                        std::int32_t offset,
                                                                                        std::int32_t part) const
{
    return load<SrcContinuantParameter>(unit, pitch, offset, part, kContinuantValueBytes,
                                        [](CMemoryStream& s, SrcContinuantParameter& p) { readValues(s, p); });
}

}  // namespace HalvorenEngineV4
