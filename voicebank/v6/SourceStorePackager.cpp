#include "voicebank/v6/SourceStorePackager.h"

#include <algorithm>

#include "voicebank/NoteName.h"
#include "voicebank/package/PackageIndex.h"

namespace HalvorenEngineV6 {

using Halvoren::CMemoryStream;

namespace {

constexpr std::int32_t kVoiceValueBytes = 8 * 4;
constexpr std::int32_t kContinuantValueBytes = 7 * 4;

void readValues(CMemoryStream& s, SrcParameter& p)
{
    for (std::int32_t* v : {&p.v6Param1, &p.v6Param2, &p.v6Param3, &p.v6Param4, &p.v6Param5, &p.v6Param6,
                            &p.v6Param7, &p.v6Param8})
        s.readInt32(*v);
}

void readValues(CMemoryStream& s, SrcContinuantParameter& p)
{
    for (std::int32_t* v : {&p.v6ContParam1, &p.v6ContParam2, &p.v6ContParam3, &p.v6ContParam4, &p.v6ContParam5,
                            &p.v6ContParam6, &p.v6ContParam7})
        s.readInt32(*v);
}

// The values, then the compact model of the unit.
template <class Record>
void readWithModel(Halvoren::RecordParse& reading, Record& record)
{
    readValues(reading.part("values"), record);
    record.material = std::make_unique<SrcMaterial>(record.name, record.pitch);
    record.material->readFrom(reading.part("voice model"));
}

}  // namespace

SourceStorePackager::SourceStorePackager(std::string basePath, std::ostream& log)
    : basePath_(std::move(basePath)), content_(basePath_, log)
{
    // Nothing defaults here: a block the file does not hold stays empty.
    Halvoren::PackageIndexV6 index;
    index.timbreTable.clear();
    std::fill(std::begin(index.timbreTimes), std::end(index.timbreTimes), 0);
    indexFault_ = Halvoren::readPackageIndex(basePath_ + "HVI", Halvoren::kIndexFormatV6, index, log);

    header = index.header;
    std::move(std::begin(index.strings), std::end(index.strings), std::begin(strings));
    hasExt1 = index.hasExt1;
    timbreTable = std::move(index.timbreTable);
    std::copy(std::begin(index.timbreTimes), std::end(index.timbreTimes), timbreTimes);
    std::copy(std::begin(index.tailFloats), std::end(index.tailFloats), tailFloats);
    tailInt1 = index.tailInt1;
    tailFloatList = std::move(index.tailFloatList);
    tailInt2 = index.tailInt2;
    unitIndex_ = std::move(index.unitIndex);
    formatMajor_ = index.formatMajor;
    formatMinor_ = index.formatMinor;
    content_.setEntries(unitIndex_, {[](Halvoren::RecordParse& reading) {
                                         VoiceSrc voice("", "");
                                         readWithModel(reading, voice);
                                     },
                                     [](Halvoren::RecordParse& reading) {
                                         ContinuantSrc continuant("", "");
                                         readWithModel(reading, continuant);
                                     }});
}

std::string SourceStorePackager::findRecordKey(const std::string& unit, const std::string& pitch,
                                               std::int32_t& offset, std::int32_t& part) const
{
    return Halvoren::findNearestVariant(unitIndex_, unit, pitch, offset, part);
}

bool SourceStorePackager::isFormatAbove(std::int32_t minor) const
{
    return Halvoren::formatAbove(formatMajor_, formatMinor_, minor);
}

std::string SourceStorePackager::variantPitchName(const UnitIndexEntryV6& entry, int i)
{
    if (i < 0 || i >= entry.count())
        return std::string();
    return formatNoteName(entry.variants[std::size_t(i)].note);
}

std::unique_ptr<VoiceSrc> SourceStorePackager::loadVoiceSrc(const std::string& unit, const std::string& pitch,
                                                            std::int32_t offset, std::int32_t part) const
{
    return content_.load<VoiceSrc>(unit, pitch, offset, part, kVoiceValueBytes, readWithModel<VoiceSrc>);
}

std::unique_ptr<SrcParameter> SourceStorePackager::loadSrcParameter(const std::string& unit, const std::string& pitch,
                                                                    std::int32_t offset, std::int32_t part) const
{
    return content_.load<SrcParameter>(unit, pitch, offset, part, kVoiceValueBytes,
                                       [](Halvoren::RecordParse& reading, SrcParameter& p) {
                                           readValues(reading.part("values"), p);
                                       });
}

std::unique_ptr<ContinuantSrc> SourceStorePackager::loadContinuantSrc(const std::string& unit,
                                                                      const std::string& pitch, std::int32_t offset,
                                                                      std::int32_t part) const
{
    return content_.load<ContinuantSrc>(unit, pitch, offset, part, kContinuantValueBytes,
                                        readWithModel<ContinuantSrc>);
}

std::unique_ptr<SrcContinuantParameter> SourceStorePackager::loadSrcContinuantParameter(const std::string& unit,
                                                                                        const std::string& pitch,
                                                                                        std::int32_t offset,
                                                                                        std::int32_t part) const
{
    return content_.load<SrcContinuantParameter>(unit, pitch, offset, part, kContinuantValueBytes,
                                                 [](Halvoren::RecordParse& reading, SrcContinuantParameter& p) {
                                                     readValues(reading.part("values"), p);
                                                 });
}

}  // namespace HalvorenEngineV6
