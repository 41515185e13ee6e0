#pragma once
// The editor-side synthesizer of banks "3.1" to "3.3" and its core over the
// third-generation engine front.
#include <string>

#include "engine/v3/HVSynthesizer.h"
#include "render/synth/FrontCore.h"
#include "render/synth/TimbreAwareSynth.h"

class Synth_V3_core_v3 : public FrontCore<Synth_V3_core, HalvorenEngineV3::HVSynthesizer> {
public:
    explicit Synth_V3_core_v3(const std::string& bankPath);
};

class Synth_v3 : public TimbreAwareSynth {
public:
    SynthCore* createCore(const std::string& bankPath) override { return new Synth_V3_core_v3(bankPath); }
};
