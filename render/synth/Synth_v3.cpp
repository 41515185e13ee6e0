#include "render/synth/Synth_v3.h"

Synth_V3_core_v3::Synth_V3_core_v3(const std::string& bankPath)
    : Synth_V3_core_v3(HalvorenEngineV3::createSynthesizerV3(bankPath))
{
}

Synth_V3_core_v3::Synth_V3_core_v3(HalvorenEngine::IHVSynthesizer* engine)
    : FrontCore(engine)
{
    if (HalvorenEngineV3::HVSynthesizer* f = front()) {
        HalvorenEngineV3::SourceStore_pkg& store = f->body().store();
        symbols_ = HalvorenEngineV3::JobPartsV3::makeSymbols(store);
        plan_ = std::make_unique<HalvorenEngineV3_1::CellPlanState>(store, *symbols_);
    }
}

void Synth_V3_core_v3::prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out)
{
    out.clear();
    HalvorenEngineV3::HVSynthesizer* f = front();
    if (f == nullptr || plan_ == nullptr || !f->body().store().isUsable())
        return;
    HalvorenEngineV3_1::prepareCells(*plan_, score, out);
}
