#include "engine/v3/SourceStore_pkg.h"

#include <cmath>

#include "voicebank/NoteName.h"

namespace HalvorenEngineV3 {

SourceStore_pkg::SourceStore_pkg(std::string basePath, std::ostream& log)
    : SourceStorePackager(std::move(basePath), log)
{
    const Halvoren::IndexHeader& h = header();
    usable_ = h.hopSize >= 1 && h.hopSize <= kMaxHop && std::isfinite(h.sampleRate) && h.sampleRate > 0.0f;
    // An index that could not be read whole has already said so.
    if (!usable_ && indexReadWhole())
        log << "fail to read package index file" << this->basePath() << "HVI" << std::endl;
}

std::string SourceStore_pkg::getRecordKey(const std::string& unit, const std::string& pitch)
{
    std::int32_t offset = 0;
    std::int32_t part = 0;
    return findRecordKey(unit, pitch, offset, part);
}

template <class Record>
std::unique_ptr<Record> SourceStore_pkg::loadAtPitch(const std::string& unit, const std::string& pitch,
                                                     Loader<Record> loader)
{
    std::int32_t offset = 0;
    std::int32_t part = 0;
    const std::string stored = findRecordKey(unit, pitch, offset, part);
    if (stored.empty() || parseNoteName(stored) != parseNoteName(pitch))
        return nullptr;
    return (this->*loader)(unit, pitch, offset, part);
}

std::unique_ptr<VoiceSrc> SourceStore_pkg::getVoiceSrc(const std::string& unit, const std::string& pitch)
{
    return loadAtPitch<VoiceSrc>(unit, pitch, &SourceStorePackager::loadVoiceSrc);
}

std::unique_ptr<SrcParameter> SourceStore_pkg::getSrcParameter(const std::string& unit, const std::string& pitch)
{
    return loadAtPitch<SrcParameter>(unit, pitch, &SourceStorePackager::loadSrcParameter);
}

std::unique_ptr<ContinuantSrc> SourceStore_pkg::getContinuantSrc(const std::string& unit, const std::string& pitch)
{
    return loadAtPitch<ContinuantSrc>(unit, pitch, &SourceStorePackager::loadContinuantSrc);
}

std::unique_ptr<SrcContinuantParameter> SourceStore_pkg::getSrcContinuantParameter(const std::string& unit,
                                                                                    const std::string& pitch)
{
    return loadAtPitch<SrcContinuantParameter>(unit, pitch, &SourceStorePackager::loadSrcContinuantParameter);
}

std::int32_t SourceStore_pkg::getTimbreCount()
{
    return static_cast<std::int32_t>(index().timbreTable.size());
}

void SourceStore_pkg::getTimbrePitchNames(std::int32_t i, std::string& low, std::string& middle, std::string& high)
{
    low.clear();
    middle.clear();
    high.clear();
    if (i < 0 || i >= getTimbreCount())
        return;
    const Halvoren::TimbreEntry& entry = index().timbreTable[static_cast<std::size_t>(i)];
    low = entry.low;
    middle = entry.middle;
    high = entry.high;
}

void SourceStore_pkg::getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower)
{
    neutral = index().timbreTimes[0];
    upper = index().timbreTimes[1];
    lower = index().timbreTimes[2];
}

}  // namespace HalvorenEngineV3
