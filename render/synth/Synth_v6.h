#pragma once
// The editor-side synthesizer of banks "6.0" and "6.1" and its core over the
// sixth-generation engine front. It sends symbols the bank does not know
// unchanged.
#include <string>

#include "engine/v6/HVSynthesizer.h"
#include "render/synth/FrontCore.h"
#include "render/synth/TimbreAwareSynth.h"

class Synth_V6_core_v6 : public FrontCore<Synth_V6_core, HalvorenEngineV6::HVSynthesizer> {
public:
    explicit Synth_V6_core_v6(const std::string& bankPath);

    // The job's timing plan of its current score.
    void prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out) override;
    // Asked of the job's symbol manager, which is read-only once the job is
    // built, so the worker may read it at the same time.
    bool isValidSymbol(const std::string& symbol) override;
};

class Synth_v6 : public TimbreAwareSynth {
public:
    Synth_v6() : TimbreAwareSynth(true) {}
    SynthCore* createCore(const std::string& bankPath) override { return new Synth_V6_core_v6(bankPath); }
};
