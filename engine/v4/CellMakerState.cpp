#include "engine/v4/CellMakerState.h"

#include "engine/v4/FetchVoiceSrc.h"

namespace HalvorenEngineV4 {

CellMakerState::CellMakerState(ISourceStore& store, std::unique_ptr<Halvoren::ISymbolMgr> symbols)
    : CellMakerStateBase(store.getSampleRate(), store.getHopSize()), store_(store), symbols_(std::move(symbols))
{
}

void CellMakerState::prepare(const HalvorenEngine::SynthScoreV3& score)
{
    std::int32_t neutral = 1000, upper = 850, lower = 1250;
    store_.getGenderRatios(neutral, upper, lower);
    CellMakerStateBase::prepare(score, neutral, upper, lower);
}

VoiceSrc* CellMakerState::fetchVoiceSrc(const std::string& unit, const std::string& pitch, bool retryWithDash)
{
    return HalvorenEngineV4::fetchVoiceSrc(cache_, store_, unit, pitch, retryWithDash);
}

SrcParameter* CellMakerState::fetchSrcParameter(const std::string& unit, const std::string& pitch,
                                                bool retryWithDash)
{
    return HalvorenEngineV4::fetchSrcParameter(cache_, store_, unit, pitch, retryWithDash);
}

ContinuantSrc* CellMakerState::fetchContinuantSrc(const std::string& name, const std::string& pitch,
                                                  bool retryWithDash)
{
    return HalvorenEngineV4::fetchContinuantSrc(cache_, store_, name, pitch, retryWithDash);
}

SrcContinuantParameter* CellMakerState::fetchSrcContinuantParameter(const std::string& name,
                                                                    const std::string& pitch, bool retryWithDash)
{
    return HalvorenEngineV4::fetchSrcContinuantParameter(cache_, store_, name, pitch, retryWithDash);
}

Halvoren::StepTable* CellMakerState::phaseEntryOf(VoiceSrc* unit)
{
    if (unit == nullptr || unit->material == nullptr || !store_.hasExt1())
        return nullptr;
    return &unit->material->ext1;
}

}  // namespace HalvorenEngineV4
