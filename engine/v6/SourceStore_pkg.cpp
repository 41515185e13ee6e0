#include "engine/v6/SourceStore_pkg.h"

#include "engine/BankFault.h"
#include "engine/StoreSlotHelpers.h"

namespace HalvorenEngineV6 {

SourceStore_pkg::SourceStore_pkg(std::string basePath, std::ostream& log)
    : SourceStorePackager(std::move(basePath), log)
{
    // The frame synthesis reads the levels of at least 35 layout bands, the
    // grid holds one float per point, and the noise bank needs a band.
    const bool renderable = HalvorenEngine::hopAndRateRenderable(getHeader());
    usable_ = renderable && getLayoutBandCount() >= kMinLayoutBands && getGridCount() >= 1 &&
              getGridCount() <= kMaxGridCount && !getBandEdges().empty();
    std::string refusal;
    if (!renderable)
        refusal = HalvorenEngine::hopAndRateRefusal(getHeader().hopSize, getHeader().sampleRate,
                                                    HalvorenEngine::kMaxStoreHop);
    else if (!usable_)
        refusal = "a band layout, grid or noise bands the engine cannot use";
    fault_ = HalvorenEngine::refuseBank(log, getBasePath(), indexFault(), refusal);
}

std::string SourceStore_pkg::getRecordKey(const std::string& unit, const std::string& pitch)
{
    std::int32_t offset = 0;
    std::int32_t part = 0;
    return findRecordKey(unit, pitch, offset, part);
}

std::unique_ptr<VoiceSrc> SourceStore_pkg::getVoiceSrc(const std::string& unit, const std::string& pitch)
{
    return HalvorenEngine::loadRecordAtPitch<VoiceSrc>(static_cast<const SourceStorePackager&>(*this), unit, pitch,
                                                       &SourceStorePackager::loadVoiceSrc);
}

std::unique_ptr<SrcParameter> SourceStore_pkg::getSrcParameter(const std::string& unit, const std::string& pitch)
{
    return HalvorenEngine::loadRecordAtPitch<SrcParameter>(static_cast<const SourceStorePackager&>(*this), unit,
                                                           pitch, &SourceStorePackager::loadSrcParameter);
}

std::unique_ptr<ContinuantSrc> SourceStore_pkg::getContinuantSrc(const std::string& unit, const std::string& pitch)
{
    return HalvorenEngine::loadRecordAtPitch<ContinuantSrc>(static_cast<const SourceStorePackager&>(*this), unit,
                                                            pitch, &SourceStorePackager::loadContinuantSrc);
}

std::unique_ptr<SrcContinuantParameter> SourceStore_pkg::getSrcContinuantParameter(const std::string& unit,
                                                                                    const std::string& pitch)
{
    return HalvorenEngine::loadRecordAtPitch<SrcContinuantParameter>(
        static_cast<const SourceStorePackager&>(*this), unit, pitch, &SourceStorePackager::loadSrcContinuantParameter);
}

void SourceStore_pkg::getTimbrePitchNames(std::int32_t index, std::string& low, std::string& middle,
                                          std::string& high)
{
    HalvorenEngine::copyTimbreNames(getTimbreTable(), index, low, middle, high);
}

void SourceStore_pkg::getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower)
{
    neutral = getTimbreTimes()[0];
    upper = getTimbreTimes()[1];
    lower = getTimbreTimes()[2];
}

void SourceStore_pkg::listUnitNames(std::vector<std::string>& names)
{
    for (const auto& [unit, entry] : getUnitIndex())
        for (int i = 0; i < entry.count(); ++i)
            names.push_back(unit + "_" + variantPitchName(entry, i) + "/");
}

}  // namespace HalvorenEngineV6
