#pragma once
// The editor-side synthesizer of banks "4.0" to "4.03" and its core over the
// fourth-generation engine front, which also plans the per-note timing.
#include <string>
#include <vector>

#include "engine/v4/HVSynthesizer.h"
#include "render/synth/FrontCore.h"
#include "render/synth/TimbreAwareSynth.h"

class Synth_V4_core_v4 : public FrontCore<Synth_V4_core, HalvorenEngineV4::HVSynthesizer> {
public:
    explicit Synth_V4_core_v4(const std::string& bankPath);

    void prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out) override;
};

class Synth_v4 : public TimbreAwareSynth {
public:
    SynthCore* createCore(const std::string& bankPath) override { return new Synth_V4_core_v4(bankPath); }
};
