#pragma once
// The editor-side synthesizer of banks "3.1" to "3.3" and its core over the
// third-generation engine front; the cores of "3.4" and "3.5" share it.
#include <memory>
#include <string>
#include <vector>

#include "engine/v3/HVSynthesizer.h"
#include "engine/v3_1/PrepareCells.h"
#include "render/synth/FrontCore.h"
#include "render/synth/TimbreAwareSynth.h"

class Synth_V3_core_v3 : public FrontCore<Synth_V3_core, HalvorenEngineV3::HVSynthesizer> {
public:
    explicit Synth_V3_core_v3(const std::string& bankPath);

    // Plans with a state of its own (the core's symbol manager among it), so
    // it may run while the job sings.
    void prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out) override;

protected:
    // Over a front of the third generation or one of its variants (owned).
    explicit Synth_V3_core_v3(HalvorenEngine::IHVSynthesizer* engine);

private:
    std::unique_ptr<HalvorenEngineV3_1::CellPlanState> plan_;
};

class Synth_v3 : public TimbreAwareSynth {
public:
    SynthCore* createCore(const std::string& bankPath) override { return new Synth_V3_core_v3(bankPath); }
};
