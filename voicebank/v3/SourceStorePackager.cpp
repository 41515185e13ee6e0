#include "voicebank/v3/SourceStorePackager.h"

#include "voicebank/package/GhrMaterialRead.h"

namespace HalvorenEngineV3 {

using Halvoren::CMemoryStream;

namespace {

constexpr std::int32_t kVoiceValueBytes = 16 * 4;
constexpr std::int32_t kContinuantValueBytes = 3 * 4;

// Stored in memory order except param6, which comes last.
void readValues(CMemoryStream& s, SrcParameter& p)
{
    s.readInt32(p.beginPos);
    s.readInt32(p.endPos);
    s.readInt32(p.param3);
    s.readInt32(p.param4);
    s.readInt32(p.param5);
    s.readFloat(p.param7);
    s.readInt32(p.param8);
    s.readInt32(p.param9);
    s.readFloat(p.param10);
    s.readInt32(p.param11);
    s.readFloat(p.param12);
    s.readFloat(p.param13);
    s.readFloat(p.ratio1);
    s.readFloat(p.ratio2);
    s.readFloat(p.ratio3);
    s.readInt32(p.param6);
}

void readValues(CMemoryStream& s, SrcContinuantParameter& p)
{
    s.readInt32(p.param1);
    s.readInt32(p.param2);
    s.readInt32(p.hop);
}

}  // namespace

SourceStorePackager::SourceStorePackager(std::string basePath, std::ostream& log)
    : IndexedPackage(std::move(basePath), Halvoren::kIndexFormatV3, log)
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

}  // namespace HalvorenEngineV3
