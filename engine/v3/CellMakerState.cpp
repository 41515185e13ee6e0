#include "engine/v3/CellMakerState.h"

namespace HalvorenEngineV3 {

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

VoiceSrc* CellMakerState::lookupVoiceSrc(const std::string& unit, const std::string& pitch)
{
    const std::string stored = store_.getRecordKey(unit, pitch);
    if (stored.empty())
        return nullptr;
    return cache_.getVoiceSrc(store_, unit, stored);
}

}  // namespace HalvorenEngineV3
