#include "render/synth/Synth_v4.h"

#include "engine/v4/SymbolMgrFor.h"

Synth_V4_core_v4::Synth_V4_core_v4(const std::string& bankPath)
    : FrontCore(HalvorenEngineV4::createSynthesizerV4(bankPath))
{
    HalvorenEngineV4::HVSynthesizer* f = front();
    symbols_ = HalvorenEngineV4::symbolMgrFor(f != nullptr ? f->body().store().getLanguage() : "");
}

void Synth_V4_core_v4::prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out)
{
    HalvorenEngineV4::HVSynthesizer* f = front();
    if (f == nullptr) {
        out.clear();
        return;
    }
    out = f->body().prepareCells(*symbols_, score);
}
