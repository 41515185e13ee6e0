#include "render/synth/Synth_v3.h"

#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/NullSymbolMgr.h"

Synth_V3_core_v3::Synth_V3_core_v3(const std::string& bankPath)
    : FrontCore(HalvorenEngineV3::createSynthesizerV3(bankPath))
{
    HalvorenEngineV3::HVSynthesizer* f = front();
    if (f != nullptr && f->body().store().getLanguage() == "CHN")
        symbols_ = std::make_unique<Halvoren::ChnSymbolMgr>();
    else
        symbols_ = std::make_unique<Halvoren::NullSymbolMgr>();
}
