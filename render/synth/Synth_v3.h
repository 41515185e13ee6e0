#pragma once
// The editor-side synthesizer of banks "3.1" to "3.3" and its core over the
// third-generation engine front.
#include <memory>
#include <string>

#include "engine/v3/HVSynthesizer.h"
#include "lyrics/ISymbolMgr.h"
#include "render/synth/TimbreAwareSynth.h"

class Synth_V3_core_v3 : public Synth_V3_core {
public:
    explicit Synth_V3_core_v3(const std::string& bankPath);

    int timbreCount() override;
    void timbrePitchNames(int index, std::string& a, std::string& b, std::string& c) override;
    HalvorenEngine::SynthScoreV3* score() override;
    // Asked of a symbol manager of the bank's language kept apart from the
    // job's, which only its worker uses.
    bool isValidSymbol(const std::string& symbol) override;

private:
    HalvorenEngineV3::HVSynthesizer* front() const;

    std::unique_ptr<Halvoren::ISymbolMgr> symbols_;
};

class Synth_v3 : public TimbreAwareSynth {
public:
    SynthCore* createCore(const std::string& bankPath) override { return new Synth_V3_core_v3(bankPath); }
};
