#include "render/synth/Synth_v6.h"

Synth_V6_core_v6::Synth_V6_core_v6(const std::string& bankPath)
    : FrontCore(HalvorenEngineV6::createSynthesizerV6(bankPath))
{
}

void Synth_V6_core_v6::prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out)
{
    HalvorenEngineV6::HVSynthesizer* f = front();
    if (f == nullptr) {
        out.clear();
        return;
    }
    f->body().prepareCells(score, out);
}

bool Synth_V6_core_v6::isValidSymbol(const std::string& symbol)
{
    HalvorenEngineV6::HVSynthesizer* f = front();
    return f != nullptr && f->body().cellMakerState().symbols().isValidSymbol(symbol);
}
