#include "render/synth/Synth_v1.h"

#include "engine/v1/HVSynthesizer.h"
#include "engine/v2/HVSynthesizer.h"

Synth_v1::Synth_v1(const std::string& bankPath)
    : Synth_v1(static_cast<HalvorenEngineV1::HVSynthesizer*>(HalvorenEngineV1::createSynthesizerV1(bankPath)))
{
}

Synth_v1::Synth_v1(HalvorenEngineV1::HVSynthesizer* front)
    : SynthV1Base(front, front != nullptr ? &front->score() : nullptr, nullptr), front_(front)
{
}

bool Synth_v1::hasVoiceFor(const HalvorenEngine::SynthNoteV1& note) const
{
    return !front_->body().store().getRecordKey(note.symbol, note.pitch).empty();
}

Synth_v2::Synth_v2(const std::string& bankPath)
    : Synth_v2(static_cast<HalvorenEngineV2::HVSynthesizer*>(HalvorenEngineV2::createSynthesizerV2(bankPath)))
{
}

Synth_v2::Synth_v2(HalvorenEngineV2::HVSynthesizer* front)
    : SynthV1Base(front, front != nullptr ? &front->score() : nullptr, front != nullptr ? &front->score().power : nullptr),
      front_(front)
{
}

bool Synth_v2::hasVoiceFor(const HalvorenEngine::SynthNoteV1& note) const
{
    return !front_->body().store().getRecordKey(note.symbol, note.pitch).empty();
}
