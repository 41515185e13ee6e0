#pragma once
// The holder of a timbre-aware engine front: it owns the front and reaches
// into its generation for the input object, the bank's timbres and symbol
// check, and the per-note timing plan. Each generation derives its core.
#include <string>
#include <vector>

#include "engine/IHVSynthesizer.h"
#include "engine/SynthScoreV3.h"

class SynthCore {
public:
    // engine is owned; null when it could not be made.
    explicit SynthCore(HalvorenEngine::IHVSynthesizer* engine) : engine_(engine) {}
    // Stops the engine front and hands it to the engine manager.
    virtual ~SynthCore();
    SynthCore(const SynthCore&) = delete;
    SynthCore& operator=(const SynthCore&) = delete;

    virtual HalvorenEngine::IHVSynthesizer* engine() const { return engine_; }
    // Plans the cells of score, an input of the caller's (never the job's),
    // without synthesising them: one timing entry per note record. The plan
    // may write the values it clamps back into score. Nothing until the
    // generation has its plan.
    virtual void prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out)
    {
        out.clear();
    }
    virtual int timbreCount() = 0;
    virtual void timbrePitchNames(int index, std::string& a, std::string& b, std::string& c) = 0;
    // The engine's input object.
    virtual HalvorenEngine::SynthScoreV3* score() = 0;
    virtual bool isValidSymbol(const std::string& symbol) = 0;

private:
    HalvorenEngine::IHVSynthesizer* engine_;
};

// The cores of the generation families.
class Synth_V3_core : public SynthCore {
public:
    using SynthCore::SynthCore;
};

class Synth_V4_core : public SynthCore {
public:
    using SynthCore::SynthCore;
};

class Synth_V6_core : public SynthCore {
public:
    using SynthCore::SynthCore;
};
