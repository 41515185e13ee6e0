#include "engine/v3/SynthJobV3.h"

#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/NullSymbolMgr.h"

namespace HalvorenEngineV3 {

std::unique_ptr<Halvoren::ISymbolMgr> JobPartsV3::makeSymbols(Store& store)
{
    if (store.getLanguage() == "CHN")
        return std::make_unique<Halvoren::ChnSymbolMgr>();
    return std::make_unique<Halvoren::NullSymbolMgr>();
}

HalvorenEngine::ScoreSpan scoreSpanOf(const HalvorenEngine::SynthScoreV3& score)
{
    return HalvorenEngine::scoreSpanOfNotes(score.leadIn, score.notes);
}

}  // namespace HalvorenEngineV3
