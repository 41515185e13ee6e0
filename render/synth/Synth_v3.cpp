#include "render/synth/Synth_v3.h"

#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/NullSymbolMgr.h"

Synth_V3_core_v3::Synth_V3_core_v3(const std::string& bankPath)
    : Synth_V3_core(HalvorenEngineV3::createSynthesizerV3(bankPath))
{
    HalvorenEngineV3::HVSynthesizer* f = front();
    if (f != nullptr && f->body().store().getLanguage() == "CHN")
        symbols_ = std::make_unique<Halvoren::ChnSymbolMgr>();
    else
        symbols_ = std::make_unique<Halvoren::NullSymbolMgr>();
}

HalvorenEngineV3::HVSynthesizer* Synth_V3_core_v3::front() const
{
    return dynamic_cast<HalvorenEngineV3::HVSynthesizer*>(engine());
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

bool Synth_V3_core_v3::isValidSymbol(const std::string& symbol) { return symbols_->isValidSymbol(symbol); }
