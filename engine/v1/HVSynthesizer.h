#pragma once
// The front of a first-generation job (banks "1"), and its factory, which
// puts it on the engine manager's live list.
#include <string>

#include "engine/JobSynthesizer.h"
#include "engine/v1/SynthJobV1.h"

namespace HalvorenEngineV1 {

class HVSynthesizer : public HalvorenEngine::JobSynthesizer {
public:
    explicit HVSynthesizer(const std::string& packagePath)
        : JobSynthesizer(std::make_unique<SynthJobV1>(packagePath), packagePath)
    {
    }
    SynthJobV1& body() { return static_cast<SynthJobV1&>(job().body()); }
    HalvorenEngine::SynthScoreV1& score() { return body().score(); }
};

// Null when memory runs out.
HalvorenEngine::IHVSynthesizer* createSynthesizerV1(const std::string& packagePath);

}  // namespace HalvorenEngineV1
