#include "render/synth/Synth_v6.h"

Synth_V6_core_v6::Synth_V6_core_v6(const std::string& bankPath)
    : Synth_V6_core(HalvorenEngineV6::createSynthesizerV6(bankPath))
{
}

HalvorenEngineV6::HVSynthesizer* Synth_V6_core_v6::front() const
{
    return dynamic_cast<HalvorenEngineV6::HVSynthesizer*>(engine());
}

void Synth_V6_core_v6::prepareCells(std::vector<HalvorenEngine::NoteTimes>& out)
{
    HalvorenEngineV6::HVSynthesizer* f = front();
    if (f == nullptr) {
        out.clear();
        return;
    }
    f->body().prepareCells(out);
}

int Synth_V6_core_v6::timbreCount()
{
    HalvorenEngineV6::HVSynthesizer* f = front();
    return f != nullptr ? f->body().store().getTimbreCount() : 0;
}

void Synth_V6_core_v6::timbrePitchNames(int index, std::string& a, std::string& b, std::string& c)
{
    HalvorenEngineV6::HVSynthesizer* f = front();
    if (f == nullptr) {
        a.clear();
        b.clear();
        c.clear();
        return;
    }
    f->body().store().getTimbrePitchNames(index, a, b, c);
}

HalvorenEngine::SynthScoreV3* Synth_V6_core_v6::score()
{
    HalvorenEngineV6::HVSynthesizer* f = front();
    return f != nullptr ? &f->score() : nullptr;
}

bool Synth_V6_core_v6::isValidSymbol(const std::string& symbol)
{
    HalvorenEngineV6::HVSynthesizer* f = front();
    return f != nullptr && f->body().cellMakerState().symbols().isValidSymbol(symbol);
}
