#pragma once
// The front of a third-generation job (banks "3.1" to "3.3"), and its
// factory, which puts it on the engine manager's live list. The fronts of
// banks "3.4" and "3.5" are this one with their own cell building and
// frame synthesis.
#include <string>

#include "engine/JobSynthesizer.h"
#include "engine/v3/SynthJobV3.h"

namespace HalvorenEngineV3 {

class HVSynthesizer : public HalvorenEngine::JobSynthesizer {
public:
    explicit HVSynthesizer(const std::string& packagePath, CellBuilder builder = &buildCells,
                           FrameSynthMaker makeSynth = &frameSynthOf<FrameSynth>)
        : JobSynthesizer(std::make_unique<SynthJobV3>(packagePath, builder, makeSynth), packagePath)
    {
    }
    SynthJobV3& body() { return static_cast<SynthJobV3&>(job().body()); }
    HalvorenEngine::SynthScoreV3& score() { return body().score(); }
};

// Null when memory runs out.
HalvorenEngine::IHVSynthesizer* createSynthesizerV3(const std::string& packagePath);

}  // namespace HalvorenEngineV3
