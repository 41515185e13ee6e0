#pragma once
// The front of a sixth-generation job (banks "6.0" and "6.1"), and its
// factory, which puts it on the engine manager's live list.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "engine/JobSynthesizer.h"
#include "engine/v6/SynthJobV6.h"

namespace HalvorenEngineV6 {

class HVSynthesizer : public HalvorenEngine::JobSynthesizer {
public:
    explicit HVSynthesizer(const std::string& packagePath, CellFramesMaker makeCellFrames = &HalvorenEngineV6::makeCellFrames,
                           std::ostream& log = std::cerr)
        : JobSynthesizer(std::make_unique<SynthJobV6>(packagePath, makeCellFrames, log), packagePath)
    {
    }
    SynthJobV6& body() { return static_cast<SynthJobV6&>(job().body()); }
    HalvorenEngine::SynthScoreV3& score() { return body().score(); }
};

// Null when memory runs out.
HalvorenEngine::IHVSynthesizer* createSynthesizerV6(const std::string& packagePath);

}  // namespace HalvorenEngineV6
