#pragma once
// The editor-side synthesizers of banks "1" and "2": each holds its
// generation's engine front, made over the bank's package in its
// constructor, and fills the front's score (with Power in the second).
#include <string>

#include "render/synth/SynthV1Base.h"

namespace HalvorenEngineV1 {
class HVSynthesizer;
}
namespace HalvorenEngineV2 {
class HVSynthesizer;
}

class Synth_v1 : public SynthV1Base {
public:
    explicit Synth_v1(const std::string& bankPath);

protected:
    bool hasVoiceFor(const HalvorenEngine::SynthNoteV1& note) const override;

private:
    // front may be null (memory ran out).
    explicit Synth_v1(HalvorenEngineV1::HVSynthesizer* front);

    HalvorenEngineV1::HVSynthesizer* front_;
};

class Synth_v2 : public SynthV1Base {
public:
    explicit Synth_v2(const std::string& bankPath);

protected:
    bool hasVoiceFor(const HalvorenEngine::SynthNoteV1& note) const override;

private:
    explicit Synth_v2(HalvorenEngineV2::HVSynthesizer* front);

    HalvorenEngineV2::HVSynthesizer* front_;
};
