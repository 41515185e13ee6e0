#pragma once
// The editor-side synthesizer of banks "3.1" to "3.3" and its core over the
// third-generation engine front; the cores of "3.4" and "3.5" share it.
#include <memory>
#include <string>
#include <vector>

#include "engine/v3/HVSynthesizer.h"
#include "engine/v3_1/PrepareCells.h"
#include "render/synth/TimbreAwareSynth.h"

class Synth_V3_core_v3 : public Synth_V3_core {
public:
    explicit Synth_V3_core_v3(const std::string& bankPath);

    // Plans the engine's current input with a state of its own, so it may
    // run while the job sings.
    void prepareCells(std::vector<HalvorenEngine::NoteTimes>& out) override;
    int timbreCount() override;
    void timbrePitchNames(int index, std::string& a, std::string& b, std::string& c) override;
    HalvorenEngine::SynthScoreV3* score() override;
    // Asked of the plan's symbol manager, kept apart from the job's, which
    // only its worker uses; false without an engine.
    bool isValidSymbol(const std::string& symbol) override;

protected:
    // Over a front of the third generation or one of its variants (owned).
    explicit Synth_V3_core_v3(HalvorenEngine::IHVSynthesizer* engine);

private:
    HalvorenEngineV3::HVSynthesizer* front() const;

    std::unique_ptr<HalvorenEngineV3_1::CellPlanState> plan_;
};

class Synth_v3 : public TimbreAwareSynth {
public:
    SynthCore* createCore(const std::string& bankPath) override { return new Synth_V3_core_v3(bankPath); }
};
