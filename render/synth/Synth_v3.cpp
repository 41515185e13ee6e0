#include "render/synth/Synth_v3.h"

#include "engine/v3/SymbolMgrFor.h"

Synth_V3_core_v3::Synth_V3_core_v3(const std::string& bankPath)
    : Synth_V3_core_v3(HalvorenEngineV3::createSynthesizerV3(bankPath))
{
}

Synth_V3_core_v3::Synth_V3_core_v3(HalvorenEngine::IHVSynthesizer* engine)
    : Synth_V3_core(engine)
{
    if (HalvorenEngineV3::HVSynthesizer* f = front()) {
        HalvorenEngineV3::SourceStore_pkg& store = f->body().store();
        plan_ = std::make_unique<HalvorenEngineV3_1::CellPlanState>(
            store, HalvorenEngineV3::symbolMgrFor(store.getLanguage()));
    }
}

HalvorenEngineV3::HVSynthesizer* Synth_V3_core_v3::front() const
{
    return dynamic_cast<HalvorenEngineV3::HVSynthesizer*>(engine());
}

void Synth_V3_core_v3::prepareCells(std::vector<HalvorenEngine::NoteTimes>& out)
{
    out.clear();
    HalvorenEngineV3::HVSynthesizer* f = front();
    if (f == nullptr || plan_ == nullptr || !f->body().store().isUsable())
        return;
    // The job's worker only reads its input; the plan walks a copy of it.
    const HalvorenEngine::SynthScoreV3 input = f->score();
    HalvorenEngineV3_1::prepareCells(*plan_, input, out);
}

int Synth_V3_core_v3::timbreCount()
{
    HalvorenEngineV3::HVSynthesizer* f = front();
    return f != nullptr ? f->body().store().getTimbreCount() : 0;
}

void Synth_V3_core_v3::timbrePitchNames(int index, std::string& a, std::string& b, std::string& c)
{
    HalvorenEngineV3::HVSynthesizer* f = front();
    if (f == nullptr) {
        a.clear();
        b.clear();
        c.clear();
        return;
    }
    f->body().store().getTimbrePitchNames(index, a, b, c);
}

HalvorenEngine::SynthScoreV3* Synth_V3_core_v3::score()
{
    HalvorenEngineV3::HVSynthesizer* f = front();
    return f != nullptr ? &f->score() : nullptr;
}

bool Synth_V3_core_v3::isValidSymbol(const std::string& symbol)
{
    return plan_ != nullptr && plan_->symbols().isValidSymbol(symbol);
}
